#pragma once
// Replaces a file so that a reader, a crash or a broken transfer sees the old content or the
// new one, never a mix: a temporary file in the same folder, synced, renamed over the old one,
// and the folder synced.

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string_view>

namespace azu::emulator {

// Every temporary file begins so: such a name is never a server's file, and one found at start
// is the leftover of a store that was cut off.
inline constexpr std::string_view kTemporaryPrefix = ".zorne-store-";

// Whether the last part of `path` has the temporary files' form.
bool IsTemporaryName(const std::filesystem::path& path);

// One replacement of one file, from the first byte written to the rename.
class AtomicFileWriter {
 public:
  // Starts the replacement of `target` (which need not exist). The new file gets the mode of the
  // existing one, else `new_file_mode`. nullptr when no temporary file can be made.
  static std::unique_ptr<AtomicFileWriter> Create(const std::filesystem::path& target,
                                                  mode_t new_file_mode = 0644);
  // Without Commit() the temporary file is removed and the target stays as it was.
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  [[nodiscard]] bool Write(std::string_view data);
  // Flushes the new content to the disk; the slow part, kept apart from Commit().
  [[nodiscard]] bool Sync();
  // Renames the synced file over the target and syncs the folder.
  [[nodiscard]] bool Commit();

 private:
  AtomicFileWriter(std::filesystem::path target, std::filesystem::path temporary, int fd)
      : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd) {}

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  static constexpr off_t kWriteBackEvery = off_t{1024} * 1024;

  int fd_;
  off_t written_ = 0;
  off_t started_ = 0;  // written back from here on is not started yet
  bool synced_ = false;
  bool committed_ = false;
};

// fsync of a folder, so a rename or a new entry in it survives a crash.
[[nodiscard]] bool SyncFolder(const std::filesystem::path& folder);

}  // namespace azu::emulator
