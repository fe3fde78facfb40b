#pragma once
// The frame of every page's Configure: the server name check, the page's own checks, the password
// prompt, the connection as "admin", the page's transaction, and the disconnection on every path.

#include <functional>
#include <optional>
#include <string>

#include "server/server_library.h"

namespace azu {

struct ConfigureSteps {
  // The page's checks; each shows its own notice and returns false to stop.
  std::function<bool()> checkPage;
  // The password prompt; nullopt when the user cancelled.
  std::function<std::optional<std::string>()> askPassword;
  // The page's transaction and ending, on the open connection.
  std::function<void(VIREO_CONNECTION connection)> transaction;
};

void RunConfigure(ServerLibrary& library, const std::string& serverName,
                  const ConfigureSteps& steps);

}  // namespace azu
