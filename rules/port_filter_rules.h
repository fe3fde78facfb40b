#pragma once
// The server's port-filter rules batch file that goes with a second IP address: one call of the
// server's own rules script for the address, its mask and the directly attached printer.

#include <string>

#include "server/server_library.h"

namespace azu {

inline constexpr const char* kPortFilterRulesPath = "/not-scsi0/net/oemnetshrules.bat";

// The batch file's one line, without its line end.
std::string PortFilterRulesLine(const std::string& address, const std::string& mask);

// Writes the rules into a temporary file of ours and stores it on the server; false after the
// error box of the failed step. The local file is gone on every path.
bool StorePortFilterRules(ServerLibrary& library, VIREO_FT_SESSION& session,
                          const std::string& address, const std::string& mask);

// Deletes the rules file on the server; false after the error box.
bool RemovePortFilterRules(ServerLibrary& library, VIREO_FT_SESSION& session);

}  // namespace azu
