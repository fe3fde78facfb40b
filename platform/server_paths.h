#pragma once
// The local file that serves a Zorne server path: drive E: holds /harddisk2 at its top and
// /not-scsi0 under azu/server.

#include <filesystem>
#include <optional>
#include <string_view>

namespace azu::platform {

inline constexpr std::string_view kSystemRoot = "/not-scsi0";
inline constexpr std::string_view kDataRoot = "/harddisk2";

// `/not-scsi0/X` → drive_e/azu/server/X, `/harddisk2/X` → drive_e/X. nullopt for anything else:
// a relative path, another root, the roots themselves, an empty, "." or ".." segment, a
// backslash, NUL, a control character, a ':' (a Windows drive or stream name) or a '%' (paths
// arrive decoded once; a '%' left over is an attempt to slip an encoded character past here).
[[nodiscard]] std::optional<std::filesystem::path> LocalFormOfServerPath(
    const std::filesystem::path& drive_e, std::string_view server_path);

}  // namespace azu::platform
