#pragma once
// Fixed values of a Zorne server that both the pages and the headless watcher use.

#include <string_view>

namespace azu {

// The main configuration file, whose keys several pages rewrite and the watcher switches.
inline constexpr const char* kMainConfig = "/not-scsi0/dev0/maj_0.cfg";

// The printer's address on the direct link to the server.
inline constexpr std::string_view kDirectPrinterAddress = "100.100.100.101";

// What the headless watcher keeps about the printer's attachment: the MAC it learnt, the report
// of its last search, and the marker it touches when the attachment changed.
inline constexpr const char* kPrinterMacPath = "/not-scsi0/config_files/engineMACAddr";
inline constexpr const char* kAttachmentLogPath = "/not-scsi0/azuqvc.log";
inline constexpr const char* kChangedMarkerPath = "/not-scsi0/azuqvc.changed";

// Program-wide discovery time limit in seconds (server search, printer discovery, poll pause).
inline constexpr int kDiscoveryTimeLimit = 5;

}  // namespace azu
