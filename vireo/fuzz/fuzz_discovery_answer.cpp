// libFuzzer driver: any datagram a network can deliver as a discovery answer.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "vireo/discovery_answer.h"
#include "vireo/discovery_results.h"
#include "vireo/key_fingerprint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view datagram(reinterpret_cast<const char*>(data), size);
  const auto answer = azu::vireo::ParseDiscoveryAnswer(datagram);
  if (answer && (answer->number == 0 || answer->name.empty() || answer->model.empty() ||
                 (!answer->key.empty() && !azu::vireo::IsKeyFingerprint(answer->key)))) {
    __builtin_trap();
  }
  // Against a pin, so that an answer with a key meets the comparison too.
  azu::vireo::DiscoveryResults results(1, [](std::uint32_t) -> std::optional<std::string> {
    return "sha256:" + std::string(64, '0');
  });
  const bool kept = results.Offer(0x7F000001U, datagram);
  if (kept !=
      (answer && (answer->key.empty() || answer->key == "sha256:" + std::string(64, '0')))) {
    __builtin_trap();
  }
  return 0;
}
