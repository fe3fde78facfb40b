#include "vireo/known_servers_file.h"

#include <windows.h>

#include <cstdlib>

#include "platform/atomic_replace.h"
#include "platform/windows_handle.h"
#include "vireo/known_servers.h"

namespace azu::vireo {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::uint64_t Wide(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | low;
}

FileStamp StampOfInfo(const BY_HANDLE_FILE_INFORMATION& info) {
  return {info.dwVolumeSerialNumber, Wide(info.nFileIndexHigh, info.nFileIndexLow),
          Wide(info.nFileSizeHigh, info.nFileSizeLow),
          static_cast<std::int64_t>(
              Wide(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime))};
}

// A regular file on a disk, not a folder and (opened as itself) not a link or junction.
bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) != 0 &&
         (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

}  // namespace

std::filesystem::path DefaultKnownServersFile() {
  if (const char* file = std::getenv(kKnownServersVariable); file != nullptr && *file != '\0') {
    return file;
  }
  // The user's roaming settings, which only the user (and the system) may read.
  if (const wchar_t* data = _wgetenv(L"APPDATA"); data != nullptr && *data != L'\0') {
    return std::filesystem::path(data) / L"azuqvc" / L"known_servers";
  }
  return {};
}

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  const platform::WindowsHandle handle(CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                                   nullptr, OPEN_EXISTING,
                                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.Valid() || GetFileInformationByHandle(handle.Get(), &info) == 0) return std::nullopt;
  return StampOfInfo(info);
}

ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content,
                            FileStamp* stamp) {
  content.clear();
  // With kRefuse a link or junction is opened as itself, and refused below.
  const DWORD flags =
      FILE_ATTRIBUTE_NORMAL | (links == Links::kRefuse ? FILE_FLAG_OPEN_REPARSE_POINT : DWORD{0});
  const platform::WindowsHandle handle(
      CreateFileW(file.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
  if (!handle.Valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadOutcome::kMissing
                                                                          : ReadOutcome::kRefused;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!IsRegularFile(handle.Get(), info)) {
    return ReadOutcome::kRefused;
  }
  if (stamp != nullptr) *stamp = StampOfInfo(info);
  char buffer[4096];
  while (true) {
    DWORD got = 0;
    if (ReadFile(handle.Get(), buffer, sizeof buffer, &got, nullptr) == 0) {
      return ReadOutcome::kRefused;
    }
    if (got == 0) {
      return ReadOutcome::kRead;
    }
    content.append(buffer, got);
    if (content.size() > kMaxKnownServersBytes) {
      return ReadOutcome::kRefused;
    }
  }
}

bool AppendLines(const std::filesystem::path& file, std::string_view lines, FileStamp& before,
                 FileStamp& after) {
  // Append access without write access: every write lands at the end, whoever else appends.
  // A new file takes the access of its folder, below %APPDATA% the user's alone.
  const platform::WindowsHandle handle(CreateFileW(
      file.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.Valid() || !IsRegularFile(handle.Get(), info)) return false;
  before = StampOfInfo(info);
  char last = '\n';
  if (before.size > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(before.size - 1);
    at.OffsetHigh = static_cast<DWORD>((before.size - 1) >> 32);
    DWORD got = 0;
    if (ReadFile(handle.Get(), &last, 1, &got, &at) == 0 || got != 1) return false;
  }
  std::string written(last != '\n' ? 1 : 0, '\n');
  written += lines;
  if (before.size + written.size() > kMaxKnownServersBytes) return false;
  DWORD done = 0;
  if (WriteFile(handle.Get(), written.data(), static_cast<DWORD>(written.size()), &done, nullptr) ==
          0 ||
      done != written.size() || FlushFileBuffers(handle.Get()) == 0 ||
      GetFileInformationByHandle(handle.Get(), &info) == 0) {
    return false;
  }
  after = StampOfInfo(info);
  return true;
}

bool ReplaceRegularFile(const std::filesystem::path& file, std::string_view content) {
  // MoveFileEx replaces a link itself, never its target; it is refused all the same, as on POSIX.
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return false;
  }
  return platform::ReplaceFileAtomically(file.string(), content, nullptr, true);
}

bool MakeFolders(const std::filesystem::path& folder) {
  // New folders take the access of the one above, below %APPDATA% the user's alone.
  std::error_code error;
  return folder.empty() || std::filesystem::create_directories(folder, error) ||
         std::filesystem::is_directory(folder, error);
}

}  // namespace azu::vireo
