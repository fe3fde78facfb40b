#include "vireo/discovery_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>

#include "vireo/server_address.h"

namespace azu::vireo {
namespace {

// The lists given out and not yet freed.
struct OutstandingLists {
  std::mutex mutex;
  std::set<void*> lists;
};

OutstandingLists& Outstanding() {
  static OutstandingLists outstanding;
  return outstanding;
}

// Copies `text` with its NUL to `cursor` and moves the cursor past it.
const char* Place(char*& cursor, const std::string& text) {
  char* placed = cursor;
  std::memcpy(placed, text.c_str(), text.size() + 1);
  cursor += text.size() + 1;
  return placed;
}

}  // namespace

DISCOV_ZorneEx** MakeZorneList(const std::vector<DiscoveredServer>& servers) {
  const std::size_t count = servers.size();
  std::vector<std::string> addresses;
  addresses.reserve(count);
  std::size_t text_bytes = 0;
  for (const DiscoveredServer& server : servers) {
    addresses.push_back(FormatIpv4(server.address));
    text_bytes +=
        addresses.back().size() + server.answer.name.size() + server.answer.model.size() + 3;
  }
  // Pointers and entries first keeps every part aligned; the texts need none.
  const std::size_t pointers_bytes = count * sizeof(DISCOV_ZorneEx*);
  const std::size_t entries_bytes = count * sizeof(DISCOV_ZorneEx);
  const std::size_t models_bytes = count * sizeof(const char*);
  const std::size_t total =
      std::max(pointers_bytes + entries_bytes + models_bytes + text_bytes, sizeof(void*));
  std::unique_ptr<void, decltype(&std::free)> owner(std::malloc(total), &std::free);
  if (owner == nullptr) {
    return nullptr;
  }
  void* block = owner.get();
  auto* bytes = static_cast<char*>(block);
  auto* list = static_cast<DISCOV_ZorneEx**>(block);
  char* entries = bytes + pointers_bytes;
  auto* models = reinterpret_cast<const char**>(entries + entries_bytes);
  char* cursor = bytes + pointers_bytes + entries_bytes + models_bytes;
  for (std::size_t i = 0; i < count; ++i) {
    const DiscoveryAnswer& answer = servers[i].answer;
    const char* address = Place(cursor, addresses[i]);
    const char* name = Place(cursor, answer.name);
    models[i] = Place(cursor, answer.model);
    list[i] = new (entries + i * sizeof(DISCOV_ZorneEx))
        DISCOV_ZorneEx{address, name, &models[i], 1, answer.number};
  }
  {
    const std::lock_guard lock(Outstanding().mutex);
    Outstanding().lists.insert(block);
  }
  owner.release();
  return list;
}

bool FreeZorneList(DISCOV_ZorneEx** list) {
  {
    const std::lock_guard lock(Outstanding().mutex);
    if (Outstanding().lists.erase(list) == 0) {
      return false;
    }
  }
  std::free(list);
  return true;
}

}  // namespace azu::vireo
