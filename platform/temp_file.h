#pragma once
// Temporary files of ours: created exclusively (nobody can plant one under our name first),
// readable by the owner only, named "azu...", in TEMP, else TMPDIR, else the system's folder.
// The file is removed when the object ends.

#include <optional>
#include <string>

namespace azu::platform {

// The folder temporary files go to.
std::string TemporaryFolder();

class TempFile {
 public:
  // Creates an empty file; on failure gives nullopt and the system's error code in `*error`.
  static std::optional<TempFile> Create(int* error);

  TempFile(TempFile&& other) noexcept;
  TempFile& operator=(TempFile&& other) noexcept;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();

  [[nodiscard]] const std::string& Path() const { return path_; }
  // Removes the file now; true when it is gone.
  bool Remove();

 private:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace azu::platform
