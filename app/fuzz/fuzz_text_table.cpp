// libFuzzer driver: any bytes as the text table resource (a replaced resource file can hold
// anything), loaded for English and for French. AddressSanitizer sees every read past the blob;
// every text the table gives for a key found in the blob lies inside it and ends there with its
// NUL, and so does the chosen language's code.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "app/text_table.h"

namespace {

constexpr std::size_t kMaxKeysChecked = 256;

bool InBlob(const char* text, std::span<const char> blob) {
  return text >= blob.data() && text < blob.data() + blob.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const char> blob(reinterpret_cast<const char*>(data), size);
  const char* const end = blob.data() + blob.size();
  for (const std::string_view language : {"en", "fr"}) {
    azu::TextTable table;
    table.Load(blob, language);
    const std::string_view chosen = table.Language();
    if (chosen != "en" && !InBlob(chosen.data(), blob)) __builtin_trap();
    // Each NUL-ended run of the blob, tried as a key.
    std::size_t checked = 0;
    for (const char* at = blob.data(); at < end && checked < kMaxKeysChecked; ++checked) {
      const auto* nul = static_cast<const char*>(std::memchr(at, '\0', end - at));
      if (nul == nullptr) break;
      const char* text = table.Get(std::string_view(at, nul - at));
      if (text != nullptr &&
          (!InBlob(text, blob) || std::memchr(text, '\0', end - text) == nullptr)) {
        __builtin_trap();
      }
      at = nul + 1;
    }
  }
  return 0;
}
