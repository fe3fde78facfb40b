// VIREO_getKeyMismatch of the C interface.

#include <algorithm>
#include <cstring>
#include <string_view>

#include "server/vireo.h"
#include "vireo/c_boundary.h"
#include "vireo/known_servers.h"

namespace azu::vireo {
namespace {

// Copies as much of `text` as fits and always ends it with a NUL.
void CopyCut(std::string_view text, char* buffer, std::uint32_t size) {
  const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

VIREO_STATUS GetKeyMismatch(const char* server, char* shown, std::uint32_t shown_size, char* pinned,
                            std::uint32_t pinned_size, char* file, std::uint32_t file_size) {
  if (server == nullptr || shown == nullptr || shown_size == 0 || pinned == nullptr ||
      pinned_size == 0 || file == nullptr || file_size == 0) {
    return VIREO_E_ARGUMENT;
  }
  const auto mismatch = LastKeyMismatch(server);
  if (!mismatch) {
    *shown = '\0';
    *pinned = '\0';
    *file = '\0';
    return VIREO_E_ARGUMENT;
  }
  CopyCut(mismatch->shown, shown, shown_size);
  CopyCut(mismatch->pinned, pinned, pinned_size);
  // UTF-8, as the caller takes it, on Windows too.
  const std::u8string path = mismatch->file.u8string();
  CopyCut(std::string(path.begin(), path.end()), file, file_size);
  return VIREO_OK;
}

}  // namespace
}  // namespace azu::vireo

extern "C" {

VIREO_API VIREO_STATUS VIREO_getKeyMismatch(const char* server, char* shown, uint32_t shownSize,
                                            char* pinned, uint32_t pinnedSize, char* file,
                                            uint32_t fileSize) {
  return azu::vireo::Guarded([&] {
    return azu::vireo::GetKeyMismatch(server, shown, shownSize, pinned, pinnedSize, file, fileSize);
  });
}

}  // extern "C"
