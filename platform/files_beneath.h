#pragma once
// Files below a trusted folder, reached without following a symbolic link anywhere below it: the
// watcher writes as root on the server's drive, and a link planted there must not lead it to read
// or write anything else. For a path outside the folder only its last component is never
// followed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace azu::platform {

// The error code of a path refused because it runs through a symbolic link.
int LinkRefusedError();

class FilesBeneath {
 public:
  // `root` itself is trusted as given (it may be a link, as a mount point often is).
  explicit FilesBeneath(std::string root) : root_(std::move(root)) {}

  // The bytes of a regular file; false with the system's error code (LinkRefusedError() for a
  // link, -1 when the system gives none).
  bool Read(const std::string& path, std::string& content, int* error) const;
  // Replaced whole and atomically as ReplaceFileAtomically does; a link in its place is refused.
  bool Replace(const std::string& path, std::string_view content, int* error) const;
  // The size of what is at `path` (a link counts as present); nullopt when nothing is there.
  [[nodiscard]] std::optional<std::uintmax_t> Size(const std::string& path) const;
  // Renames the regular file `from` over `to` in the same folder and flushes the folder, so that
  // the new name survives a crash. Links at either name and anything but a regular file at `to`
  // are refused; false with the error code, both files then as they were.
  bool Move(const std::string& from, const std::string& to, int* error) const;
  // Deletes a regular file; true when it was deleted.
  bool Remove(const std::string& path) const;

 private:
  std::string root_;
};

}  // namespace azu::platform
