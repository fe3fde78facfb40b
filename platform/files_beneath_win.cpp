#include "platform/files_beneath.h"

#include <windows.h>

#include "platform/atomic_replace.h"

namespace azu::platform {
namespace {

bool Fail(int* error, DWORD code) {
  if (error != nullptr) *error = code != 0 ? static_cast<int>(code) : -1;
  return false;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// True when no folder between `root` and the last component of `path` is a reparse point (a
// symbolic link or a junction). Outside `root` only the last component is looked at, by the
// caller.
bool FoldersAreReal(const std::string& root, const std::string& path) {
  const bool beneath = !root.empty() && path.size() > root.size() + 1 &&
                       path.compare(0, root.size(), root) == 0 && IsSeparator(path[root.size()]);
  if (!beneath) return true;
  for (std::size_t at = root.size() + 1; at < path.size(); ++at) {
    if (!IsSeparator(path[at])) continue;
    const DWORD attributes = GetFileAttributesA(path.substr(0, at).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return false;
    }
  }
  return true;
}

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

int LinkRefusedError() {
  return ERROR_CANT_RESOLVE_FILENAME;
}

bool FilesBeneath::Read(const std::string& path, std::string& content, int* error) const {
  if (!FoldersAreReal(root_, path)) return Fail(error, ERROR_CANT_RESOLVE_FILENAME);
  // The reparse point itself is opened, never what it points to.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail(error, GetLastError());
  BY_HANDLE_FILE_INFORMATION information{};
  bool ok = GetFileInformationByHandle(file, &information) != 0;
  DWORD code = GetLastError();
  if (ok &&
      (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
    ok = false;
    code = ERROR_CANT_RESOLVE_FILENAME;
  }
  content.clear();
  char buffer[8192];
  DWORD got = 0;
  while (ok && (ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
    content.append(buffer, got);
  }
  if (!ok && code == 0) code = GetLastError();
  CloseHandle(file);
  return ok || Fail(error, code);
}

bool FilesBeneath::Replace(const std::string& path, std::string_view content, int* error) const {
  if (!FoldersAreReal(root_, path) || IsLink(path)) {
    return Fail(error, ERROR_CANT_RESOLVE_FILENAME);
  }
  // The rename replaces the name itself; a link made in between is replaced, not followed.
  return ReplaceFileAtomically(path, content, error);
}

std::optional<std::uintmax_t> FilesBeneath::Size(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!FoldersAreReal(root_, path) ||
      !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
  return (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool FilesBeneath::Move(const std::string& from, const std::string& to, int* error) const {
  if (!FoldersAreReal(root_, to) || !FoldersAreReal(root_, from) || IsLink(from) || IsLink(to)) {
    return Fail(error, ERROR_CANT_RESOLVE_FILENAME);
  }
  const DWORD attributes = GetFileAttributesA(from.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail(error, GetLastError());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Fail(error, ERROR_ACCESS_DENIED);
  // Written through: the call returns once the new name is on the disk.
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail(error, GetLastError());
  }
  return true;
}

bool FilesBeneath::Remove(const std::string& path) const {
  if (!FoldersAreReal(root_, path)) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
    return false;
  }
  return DeleteFileA(path.c_str()) != 0;
}

}  // namespace azu::platform
