#pragma once
// A discovered-server record as the library's discovery fills it, for fake discoveries.

#include <cstdio>

#include "ui/discover_servers.h"

namespace azu::test {

inline DiscoveredServer Record(const char* address, const char* name, const char* model) {
  DiscoveredServer record;
  std::snprintf(record.address.data(), record.address.size(), "%s", address);
  std::snprintf(record.name.data(), record.name.size(), "%s", name);
  std::snprintf(record.modelCode.data(), record.modelCode.size(), "%s", model);
  return record;
}

}  // namespace azu::test
