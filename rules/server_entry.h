#pragma once
// Entries of the discovered-server list ("address name(model)") as the Dual IP page reads them,
// and its check that the second address is not the server's own.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace azu {

struct ServerEntryParts {
  std::string_view address;  // up to the first blank
  std::string_view name;     // after the blanks that follow, up to the first '(' or the end
};

// Splits `entry`; nullopt when either part would be empty. The parts are views into the entry,
// so they are bounded by it whatever its length: a name as long as discovery allows (255
// characters) is read whole, never cut or copied into a fixed buffer.
std::optional<ServerEntryParts> SplitServerEntry(std::string_view entry);

// True when an entry names the server `serverName` (its name in any letter case, or its address
// exactly) and that entry's address is `address`.
bool IsServerAddress(std::span<const std::string> servers, std::string_view serverName,
                     std::string_view address);

}  // namespace azu
