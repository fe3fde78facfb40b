#pragma once
// The known-servers file as this system keeps it: where it lives by default, its folder made for
// the owner only, and its bytes read without being fooled by what else may stand at its name.

#include <cstdint>
#include <filesystem>
#include <string>

namespace azu::vireo {

enum class ReadOutcome : std::uint8_t { kRead, kMissing, kRefused };
enum class Links : std::uint8_t { kFollow, kRefuse };

// Some ten thousand servers; more is not a file this library wrote.
inline constexpr std::size_t kMaxKnownServersBytes = std::size_t{1024} * 1024;
inline constexpr const char* kKnownServersVariable = "VIREO_KNOWN_SERVERS";

// The file's bytes; kRefused for anything but a regular file of at most kMaxKnownServersBytes, a
// read error, or (kRefuse) a symbolic link. Never blocks on a FIFO or device put in its place.
ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content);

// Makes `folder` and any missing parent, each for the owner only.
bool MakeFolders(const std::filesystem::path& folder);

}  // namespace azu::vireo
