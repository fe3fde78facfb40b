#include "rules/server_entry.h"

#include <algorithm>

#include "rules/text_compare.h"

namespace azu {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::optional<ServerEntryParts> SplitServerEntry(std::string_view entry) {
  entry = entry.substr(0, entry.find('\0'));  // the list holds C texts
  const std::size_t space = entry.find(' ');
  if (space == 0 || space == std::string_view::npos) return std::nullopt;
  std::size_t start = space;
  while (start < entry.size() && IsBlank(entry[start])) ++start;
  const std::size_t end = entry.find('(', start);
  const std::string_view name =
      entry.substr(start, end == std::string_view::npos ? end : end - start);
  if (name.empty()) return std::nullopt;
  return ServerEntryParts{entry.substr(0, space), name};
}

bool IsServerAddress(std::span<const std::string> servers, std::string_view serverName,
                     std::string_view address) {
  return std::ranges::any_of(servers, [&](const std::string& entry) {
    const std::optional<ServerEntryParts> parts = SplitServerEntry(entry);
    if (!parts) return false;
    const bool isServer = SameText(parts->name, serverName) || parts->address == serverName;
    return isServer && parts->address == address;
  });
}

}  // namespace azu
