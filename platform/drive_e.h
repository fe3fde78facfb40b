#pragma once
// Drive E: of a Zorne server, where its files live: "E:" on Windows; on POSIX the folder named by
// AZUQVC_DRIVE_E, else /mnt/e.

#include <string>
#include <string_view>

namespace azu::platform {

// The separator of local paths.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The drive's root, without a trailing separator.
std::string DriveE();
// The variable that chose DriveE() ("" for the default), for the watcher's log.
std::string_view DriveESource();

}  // namespace azu::platform
