#pragma once
// The discovery list handed to the caller: one allocation holding the pointer array, the entries,
// their model arrays and texts, so that freeing it needs nothing but the list itself.

#include <vector>

#include "server/vireo.h"
#include "vireo/discovery_results.h"

namespace azu::vireo {

// The caller's list of `servers`, in their order; null when memory ran out.
[[nodiscard]] DISCOV_ZorneEx** MakeZorneList(const std::vector<DiscoveredServer>& servers);

// Frees a list made by MakeZorneList; false (nothing freed) for any other pointer, a list
// freed already included.
bool FreeZorneList(DISCOV_ZorneEx** list);

}  // namespace azu::vireo
