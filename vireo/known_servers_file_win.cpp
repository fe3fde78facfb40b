#include "vireo/known_servers_file.h"

#include <windows.h>

#include <cstdlib>

#include "platform/windows_handle.h"
#include "vireo/known_servers.h"

namespace azu::vireo {
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

ReadOutcome ReadRegularFile(const std::filesystem::path& file, Links links, std::string& content) {
  content.clear();
  // With kRefuse a link or junction is opened as itself, and refused below.
  const DWORD flags =
      FILE_ATTRIBUTE_NORMAL | (links == Links::kRefuse ? FILE_FLAG_OPEN_REPARSE_POINT : DWORD{0});
  const platform::WindowsHandle handle(CreateFileW(
      file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, flags, nullptr));
  if (!handle.Valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadOutcome::kMissing
                                                                          : ReadOutcome::kRefused;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK ||
      GetFileInformationByHandle(handle.Get(), &info) == 0 ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    return ReadOutcome::kRefused;
  }
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

bool MakeFolders(const std::filesystem::path& folder) {
  // New folders take the access of the one above, below %APPDATA% the user's alone.
  std::error_code error;
  return folder.empty() || std::filesystem::create_directories(folder, error) ||
         std::filesystem::is_directory(folder, error);
}

}  // namespace azu::vireo
