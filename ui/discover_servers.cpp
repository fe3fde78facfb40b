#include "ui/discover_servers.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/cp1252.h"
#include "server/vireo.h"

namespace azu {
namespace {

// The library hands UTF-8; the records hold Windows-1252, as every text the program shows.
template <std::size_t N>
void CopyBounded(std::array<char, N>& field, const char* text) {
  field.fill('\0');
  if (text == nullptr) return;
  const std::string converted = Utf8ToCp1252Lossy(text);
  const std::size_t length = std::min(converted.size(), N - 1);
  std::memcpy(field.data(), converted.data(), length);
}

}  // namespace

int DiscoverServers(int seconds, DiscoveredServer* records, int capacity, int* count) {
  *count = 0;
  DISCOV_ZorneEx** list = nullptr;
  int32_t found = 0;
  if (DISCOV_getZorneList(seconds, capacity, 0, 0, 0, 0, 0, &list, &found, 0) != VIREO_OK) {
    return 0;
  }
  const int usable = std::clamp(found, 0, capacity);
  for (int i = 0; i < usable; ++i) {
    const DISCOV_ZorneEx* entry = list[i];
    if (entry == nullptr || entry->number == 0) continue;
    CopyBounded(records[i].address, entry->address);
    CopyBounded(records[i].name, entry->name);
    const char* model =
        entry->modelCodes != nullptr && entry->modelCount > 0 ? entry->modelCodes[0] : nullptr;
    CopyBounded(records[i].modelCode, model);
  }
  *count = usable;
  DISCOV_freeDiscoveredZorneExList(list, found, 0);
  return 0;
}

}  // namespace azu
