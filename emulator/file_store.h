#pragma once
// The files the server serves, under its root: server paths checked and mapped, kept from leading
// out of the root (symlinks included) or into the emulator's own state, stored atomically and,
// when asked, only if the file is still the version the client fetched.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "emulator/atomic_file.h"
#include "emulator/background_sink.h"
#include "emulator/digest.h"

namespace azu::emulator {

// An open file handed on to be sent, closed with its last owner.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  [[nodiscard]] int Fd() const { return fd_; }

 private:
  int fd_;
};

// The served files under one root; thread-safe.
class FileStore {
 public:
  enum class Status { kOk, kNotFound, kRefused, kConflict, kTooLarge, kFailed };
  // The largest file a transfer carries, either way.
  static constexpr std::size_t kMaxFileSize = std::size_t{16} * 1024 * 1024;
  // The emulator's own state folder under the root; never served.
  static constexpr std::string_view kStateFolder = ".zorne";

  // nullptr when `root` is not an existing folder. Removes the temporary files that stores cut
  // off before (a crash, a kill) left in the served tree.
  static std::unique_ptr<FileStore> Open(const std::filesystem::path& root);

  struct Content {
    Status status = Status::kFailed;
    std::string bytes;
    std::string version;  // lower-case hex SHA-256 of the content
    // A file whose version is known already is not read here: it is handed on open, `size`
    // bytes from its start, and `bytes` stays empty.
    std::shared_ptr<OpenFile> file;
    std::uint64_t size = 0;
  };
  Content Read(std::string_view server_path) const;

  // A store in progress: the content goes to a temporary file beside the target.
  class Upload {
   public:
    // False once the content passes kMaxFileSize (TooLarge()) or the disk refuses it.
    [[nodiscard]] bool Write(std::string_view data);
    [[nodiscard]] bool TooLarge() const { return too_large_; }
    [[nodiscard]] std::size_t Size() const { return size_; }

   private:
    friend class FileStore;
    Upload(std::filesystem::path target, std::unique_ptr<AtomicFileWriter> writer)
        : target_(std::move(target)), writer_(std::move(writer)) {}

    std::filesystem::path target_;
    std::unique_ptr<AtomicFileWriter> writer_;
    Sha256Stream digest_;
    std::size_t size_ = 0;
    bool too_large_ = false;
    bool failed_ = false;
    // Last, so it is gone before what its disk thread uses.
    BackgroundSink sink_{[this](std::string_view chunk) {
      digest_.Update(chunk);
      return writer_->Write(chunk);
    }};
  };
  struct Started {
    Status status = Status::kFailed;
    std::unique_ptr<Upload> upload;
  };
  // Checks the path and makes its missing folders.
  Started BeginStore(std::string_view server_path);

  struct Stored {
    Status status = Status::kFailed;
    std::string version;
  };
  // Puts the upload in place; with `expected_version` only if the file is still that version
  // (kConflict otherwise, also when it is gone). Check and replacement happen under one lock.
  Stored FinishStore(Upload& upload, const std::optional<std::string>& expected_version);

  // Removes the file (a symlink itself, not what it points to).
  Status Remove(std::string_view server_path);

 private:
  explicit FileStore(std::filesystem::path real_root);

  // The real path of the server path's file, following symlinks; nullopt when refused.
  std::optional<std::filesystem::path> Resolve(std::string_view server_path,
                                               bool follow_last) const;
  bool IsServed(const std::filesystem::path& real) const;
  bool HasDanglingLink(const std::filesystem::path& real, bool check_last) const;
  Content ReadReal(const std::filesystem::path& real) const;
  // The version of a file unchanged since it was last read or stored, so that an unchanged file
  // is not hashed again; "" when unknown.
  std::string CachedVersion(const std::filesystem::path& real, const struct stat& info) const;
  void RememberVersion(const std::filesystem::path& real, const struct stat& info,
                       const std::string& version) const;
  bool MakeFolders(const std::filesystem::path& folder) const;

  const std::filesystem::path real_root_;
  const std::filesystem::path state_folder_;
  std::mutex commit_mutex_;
  struct KnownVersion {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;
    timespec changed;
    std::string version;
  };
  mutable std::mutex versions_mutex_;
  mutable std::unordered_map<std::string, KnownVersion> versions_;
};

}  // namespace azu::emulator
