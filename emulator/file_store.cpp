#include "emulator/file_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <vector>

#include "platform/server_paths.h"

namespace azu::emulator {
namespace {

namespace fs = std::filesystem;

// Deeper folders are left alone at start; the walk holds one descriptor per level.
constexpr int kMostCleanupDepth = 64;

bool IsBelow(const fs::path& inner, const fs::path& outer) {
  const auto [outer_end, inner_rest] =
      std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
  return outer_end == outer.end() && inner_rest != inner.end();
}

// Removes the temporary files that stores cut off by a crash or a kill left in the folder `fd`
// (taken over) and below. Symlinks are never followed, and the root's state folder is not
// entered: it holds no stores, and its files are not for this walk to judge.
void RemoveLeftovers(int fd, int depth, bool is_root) {
  DIR* folder = ::fdopendir(fd);
  if (folder == nullptr) {
    ::close(fd);
    return;
  }
  std::vector<std::string> leftovers;
  std::vector<std::string> subfolders;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    struct stat info {};
    if (name == "." || name == ".." ||
        ::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    if (S_ISREG(info.st_mode) && IsTemporaryName(fs::path(name))) {
      leftovers.emplace_back(name);
    } else if (S_ISDIR(info.st_mode) && depth > 0 &&
               !(is_root && name == FileStore::kStateFolder)) {
      subfolders.emplace_back(name);
    }
  }
  for (const std::string& name : leftovers) ::unlinkat(::dirfd(folder), name.c_str(), 0);
  for (const std::string& name : subfolders) {
    const int inner =
        ::openat(::dirfd(folder), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (inner >= 0) RemoveLeftovers(inner, depth - 1, false);
  }
  ::closedir(folder);
}

}  // namespace

std::unique_ptr<FileStore> FileStore::Open(const fs::path& root) {
  std::error_code error;
  fs::path real_root = fs::canonical(root, error);
  if (error || !fs::is_directory(real_root, error)) return nullptr;
  const int fd = ::open(real_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) RemoveLeftovers(fd, kMostCleanupDepth, true);
  return std::unique_ptr<FileStore>(new FileStore(std::move(real_root)));
}

FileStore::FileStore(fs::path real_root)
    : real_root_(std::move(real_root)), state_folder_(real_root_ / std::string(kStateFolder)) {}

bool FileStore::IsServed(const fs::path& real) const {
  return IsBelow(real, real_root_) && real != state_folder_ && !IsBelow(real, state_folder_) &&
         !IsTemporaryName(real);
}

std::optional<fs::path> FileStore::Resolve(std::string_view server_path, bool follow_last) const {
  const std::optional<fs::path> local = platform::LocalFormOfServerPath(real_root_, server_path);
  if (!local || IsTemporaryName(*local)) return std::nullopt;
  // The mapping leaves no "." or ".." segments, so only symlinks can lead elsewhere; resolving
  // them here and checking the result keeps every link, old or new, inside the root.
  std::error_code error;
  fs::path real = follow_last
                      ? fs::weakly_canonical(*local, error)
                      : fs::weakly_canonical(local->parent_path(), error) / local->filename();
  if (error || !IsServed(real) || HasDanglingLink(real, follow_last)) return std::nullopt;
  return real;
}

bool FileStore::HasDanglingLink(const fs::path& real, bool check_last) const {
  // The resolved part of a path has no links left; one that remains points nowhere, and
  // following it later could lead anywhere.
  fs::path path = real_root_;
  const fs::path relative = real.lexically_relative(real_root_);
  std::size_t left = static_cast<std::size_t>(std::distance(relative.begin(), relative.end()));
  for (const fs::path& part : relative) {
    path /= part;
    --left;
    if (left == 0 && !check_last) return false;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    if (S_ISLNK(info.st_mode)) return true;
  }
  return false;
}

OpenFile::~OpenFile() {
  ::close(fd_);
}

FileStore::Content FileStore::ReadReal(const fs::path& real) const {
  // O_NONBLOCK: a fifo in the root must not hang a request; regular files ignore the flag.
  const int fd = ::open(real.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return {missing ? Status::kNotFound : Status::kFailed, {}, {}, {}, 0};
  }
  Content content;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    content.status = Status::kFailed;
  } else if (!S_ISREG(info.st_mode)) {
    content.status = Status::kNotFound;
  } else if (static_cast<std::size_t>(info.st_size) > kMaxFileSize) {
    content.status = Status::kTooLarge;
  } else if (std::string known = CachedVersion(real, info); !known.empty()) {
    // Stores replace a file by renaming it, so this descriptor keeps the content of that version.
    content.status = Status::kOk;
    content.version = std::move(known);
    content.size = static_cast<std::uint64_t>(info.st_size);
    content.file = std::make_shared<OpenFile>(fd);
    return content;
  } else {
    content.status = Status::kOk;
    // One byte more than the file holds: a read that ends short of it finds the end at once.
    content.bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t filled = 0;
    while (true) {
      // The file may grow while it is read; one byte past the limit is enough to know.
      if (filled == content.bytes.size()) {
        if (filled > kMaxFileSize) break;
        content.bytes.resize(std::min(filled * 2 + 4096, kMaxFileSize + 1));
      }
      const ssize_t got = ::read(fd, content.bytes.data() + filled, content.bytes.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) content.status = Status::kFailed;
      if (got <= 0) break;
      filled += static_cast<std::size_t>(got);
    }
    content.bytes.resize(filled);
    if (filled > kMaxFileSize) content.status = Status::kTooLarge;
  }
  struct stat after {};
  const bool steady =
      content.status == Status::kOk && ::fstat(fd, &after) == 0 && after.st_ino == info.st_ino &&
      after.st_size == info.st_size && after.st_mtim.tv_sec == info.st_mtim.tv_sec &&
      after.st_mtim.tv_nsec == info.st_mtim.tv_nsec &&
      after.st_ctim.tv_sec == info.st_ctim.tv_sec && after.st_ctim.tv_nsec == info.st_ctim.tv_nsec;
  ::close(fd);
  if (content.status != Status::kOk) return {content.status, {}, {}, {}, 0};
  content.version = steady ? CachedVersion(real, info) : std::string();
  if (content.version.empty()) {
    content.version = HexOf(Sha256(content.bytes));
    if (steady) RememberVersion(real, info, content.version);
  }
  return content;
}

namespace {

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::string FileStore::CachedVersion(const fs::path& real, const struct stat& info) const {
  const std::lock_guard lock(versions_mutex_);
  const auto known = versions_.find(real.string());
  if (known == versions_.end()) return {};
  const KnownVersion& v = known->second;
  const bool same = v.device == info.st_dev && v.inode == info.st_ino && v.size == info.st_size &&
                    SameTime(v.modified, info.st_mtim) && SameTime(v.changed, info.st_ctim);
  return same ? v.version : std::string();
}

void FileStore::RememberVersion(const fs::path& real, const struct stat& info,
                                const std::string& version) const {
  const std::lock_guard lock(versions_mutex_);
  versions_[real.string()] =
      KnownVersion{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim, version};
}

FileStore::Content FileStore::Read(std::string_view server_path) const {
  const std::optional<fs::path> real = Resolve(server_path, true);
  if (!real) return {Status::kRefused, {}, {}, {}, 0};
  return ReadReal(*real);
}

bool FileStore::MakeFolders(const fs::path& folder) const {
  if (folder == real_root_) return true;
  fs::path path = real_root_;
  for (const fs::path& part : folder.lexically_relative(real_root_)) {
    const fs::path parent = path;
    path /= part;
    if (::mkdir(path.c_str(), 0755) == 0) {
      if (!SyncFolder(parent)) return false;
      continue;
    }
    struct stat info {};
    // Resolve() gave the real path of what exists, so an existing part must be a real folder.
    if (errno != EEXIST || ::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
      return false;
    }
  }
  return true;
}

FileStore::Started FileStore::BeginStore(std::string_view server_path) {
  const std::optional<fs::path> real = Resolve(server_path, true);
  if (!real || !MakeFolders(real->parent_path())) return {Status::kRefused, nullptr};
  // With every folder in place the real parent must be the one checked; a symlink swapped in
  // meanwhile would show here.
  std::error_code error;
  if (fs::canonical(real->parent_path(), error) != real->parent_path() || error) {
    return {Status::kRefused, nullptr};
  }
  struct stat info {};
  if (::stat(real->c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    return {Status::kRefused, nullptr};
  }
  std::unique_ptr<AtomicFileWriter> writer = AtomicFileWriter::Create(*real);
  if (!writer) return {Status::kFailed, nullptr};
  return {Status::kOk, std::unique_ptr<Upload>(new Upload(*real, std::move(writer)))};
}

bool FileStore::Upload::Write(std::string_view data) {
  if (too_large_ || failed_) return false;
  if (data.size() > kMaxFileSize - size_) {
    too_large_ = true;
    return false;
  }
  size_ += data.size();
  if (!sink_.Add(data)) failed_ = true;
  return !failed_;
}

FileStore::Stored FileStore::FinishStore(Upload& upload,
                                         const std::optional<std::string>& expected_version) {
  if (upload.too_large_) return {Status::kTooLarge, {}};
  if (upload.failed_ || !upload.sink_.Finish() || !upload.writer_->Sync()) {
    return {Status::kFailed, {}};
  }
  std::string version = upload.digest_.FinishHex();
  const std::lock_guard lock(commit_mutex_);
  if (expected_version) {
    const Content current = ReadReal(upload.target_);
    if (current.status != Status::kOk || current.version != *expected_version) {
      return {Status::kConflict, {}};
    }
  }
  if (!upload.writer_->Commit()) return {Status::kFailed, {}};
  struct stat stored {};
  if (::stat(upload.target_.c_str(), &stored) == 0)
    RememberVersion(upload.target_, stored, version);
  return {Status::kOk, std::move(version)};
}

FileStore::Status FileStore::Remove(std::string_view server_path) {
  const std::optional<fs::path> real = Resolve(server_path, false);
  if (!real) return Status::kRefused;
  const std::lock_guard lock(commit_mutex_);
  struct stat info {};
  if (::lstat(real->c_str(), &info) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? Status::kNotFound : Status::kFailed;
  }
  if (S_ISDIR(info.st_mode)) return Status::kNotFound;
  if (::unlink(real->c_str()) != 0) return errno == ENOENT ? Status::kNotFound : Status::kFailed;
  return SyncFolder(real->parent_path()) ? Status::kOk : Status::kFailed;
}

}  // namespace azu::emulator
