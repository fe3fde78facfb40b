#pragma once
// `zornectl discover`: the Zorne servers that the window's Search... finds.

#include <string>

namespace azu::ctl {

// Searches for the discovery time limit; the servers as lines (address, name, model, series) or
// as one JSON object per line.
std::string DiscoverServersText(bool json);

}  // namespace azu::ctl
