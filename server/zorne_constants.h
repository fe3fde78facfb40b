#pragma once
// Fixed values of a Zorne server that both the pages and the headless watcher use.

#include <string_view>

namespace azu {

// The main configuration file, whose keys several pages rewrite and the watcher switches.
inline constexpr const char* kMainConfig = "/not-scsi0/dev0/maj_0.cfg";

// The printer's address on the direct link to the server.
inline constexpr std::string_view kDirectPrinterAddress = "100.100.100.101";

// Program-wide discovery time limit in seconds (server search, printer discovery, poll pause).
inline constexpr int kDiscoveryTimeLimit = 5;

}  // namespace azu
