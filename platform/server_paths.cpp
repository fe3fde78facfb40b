#include "platform/server_paths.h"

#include <string>

namespace azu::platform {
namespace {

bool IsRefusedCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || c == '\\' || c == '%' || c == ':';
}

// Everything after `root` + "/", when `server_path` starts so and has something after it.
std::optional<std::string_view> Below(std::string_view server_path, std::string_view root) {
  if (server_path.size() <= root.size() + 1 || !server_path.starts_with(root) ||
      server_path[root.size()] != '/') {
    return std::nullopt;
  }
  return server_path.substr(root.size() + 1);
}

}  // namespace

std::optional<std::filesystem::path> LocalFormOfServerPath(const std::filesystem::path& drive_e,
                                                           std::string_view server_path) {
  std::filesystem::path local;
  std::optional<std::string_view> rest;
  if ((rest = Below(server_path, kSystemRoot))) {
    local = drive_e / "azu" / "server";
  } else if ((rest = Below(server_path, kDataRoot))) {
    local = drive_e;
  } else {
    return std::nullopt;
  }
  for (const char c : *rest) {
    if (IsRefusedCharacter(c)) return std::nullopt;
  }
  std::string_view remaining = *rest;
  while (true) {
    const std::size_t slash = remaining.find('/');
    const std::string_view segment = remaining.substr(0, slash);
    if (segment.empty() || segment == "." || segment == "..") return std::nullopt;
    local /= std::string(segment);
    if (slash == std::string_view::npos) break;
    remaining.remove_prefix(slash + 1);
  }
  return local;
}

}  // namespace azu::platform
