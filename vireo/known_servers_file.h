#pragma once
// The known-servers file as this system keeps it: where it lives by default, its folder made for
// the owner only, its bytes read without being fooled by what else may stand at its name, and
// what tells one version of it from the next.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace azu::vireo {

enum class ReadOutcome : std::uint8_t { kRead, kMissing, kRefused };
enum class Links : std::uint8_t { kFollow, kRefuse };

// Some ten thousand servers; more is not a file this library wrote.
inline constexpr std::size_t kMaxKnownServersBytes = std::size_t{1024} * 1024;
inline constexpr const char* kKnownServersVariable = "VIREO_KNOWN_SERVERS";

// One version of a file: whoever replaces it (a new file renamed over it), appends to it or
// rewrites it in place changes at least one of these.
struct FileStamp {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;  // inode, or the file index on Windows
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // in the system's finest unit

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of what stands at `file` (through a link); nullopt when nothing does.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// The file's bytes; kRefused for anything but a regular file of at most kMaxKnownServersBytes, a
// read error, or (kRefuse) a symbolic link. Never blocks on a FIFO or device put in its place.
// With `stamp`, the stamp of the file read.
ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content,
                            FileStamp* stamp = nullptr);

// Appends whole `lines` in one write, then flushes them to disk; a file that does not end its
// last line gets that line end first. Makes the file when missing; it is left (or made) readable
// and writable by its owner alone. False for a link, anything but a regular file, and a file that
// would grow past kMaxKnownServersBytes. `before` and `after`: the file's stamps around the write.
bool AppendLines(const std::filesystem::path& file, std::string_view lines, FileStamp& before,
                 FileStamp& after);

// Replaces the file whole (a new file renamed over it), readable and writable by its owner
// alone; false, the old file untouched, when a link or anything but a regular file stands there.
bool ReplaceRegularFile(const std::filesystem::path& file, std::string_view content);

// Makes `folder` and any missing parent, each for the owner only.
bool MakeFolders(const std::filesystem::path& folder);

}  // namespace azu::vireo
