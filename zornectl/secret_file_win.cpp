#include "zornectl/secret_file.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "platform/windows_handle.h"

namespace azu::ctl {
namespace {

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  const DWORD size = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = size > 0 ? std::string(text, size) : "error " + std::to_string(code);
  if (text != nullptr) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == '.' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type) {
  BYTE buffer[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof buffer;
  return CreateWellKnownSid(type, nullptr, buffer, &size) != 0 && EqualSid(sid, buffer) != 0;
}

// This process's user; empty when it cannot be told.
std::vector<BYTE> CurrentUser() {
  HANDLE opened = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened) == 0) return {};
  const platform::WindowsHandle token(opened);
  std::vector<BYTE> buffer(sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE);
  DWORD size = 0;
  if (GetTokenInformation(token.Get(), TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()),
                          &size) == 0) {
    return {};
  }
  const PSID sid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
  const auto* bytes = static_cast<const BYTE*>(sid);
  return {bytes, bytes + GetLengthSid(sid)};
}

// Whether an allowed entry of the access list lets anyone but this user, the file's owner, the
// system and the administrators read the file. An absent list lets everyone in.
bool ReadableByOthers(HANDLE file) {
  std::vector<BYTE> user = CurrentUser();
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                      &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
    return true;
  }
  bool others = dacl == nullptr;
  constexpr ACCESS_MASK kReading = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL | MAXIMUM_ALLOWED;
  for (DWORD i = 0; !others && i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (GetAce(dacl, i, &entry) == 0) {
      others = true;
      break;
    }
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) {
      continue;
    }
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if ((allowed->Mask & kReading) == 0) continue;
    PSID sid = &allowed->SidStart;
    others =
        !((!user.empty() && EqualSid(sid, user.data()) != 0) ||
          (owner != nullptr && EqualSid(sid, owner) != 0) || IsWellKnown(sid, WinLocalSystemSid) ||
          IsWellKnown(sid, WinBuiltinAdministratorsSid) || IsWellKnown(sid, WinCreatorOwnerSid));
  }
  LocalFree(descriptor);
  return others;
}

}  // namespace

std::optional<std::string> ReadSecretFile(const std::string& path, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error != nullptr) *error = path + ": " + why;
    return std::nullopt;
  };
  const platform::WindowsHandle file(CreateFileA(path.c_str(), GENERIC_READ | READ_CONTROL,
                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return fail(SystemMessage(GetLastError()));
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
      GetFileInformationByHandle(file.Get(), &info) == 0 ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return fail("not a regular file");
  }
  if (ReadableByOthers(file.Get())) {
    return fail(
        "readable by others; make it owner-only first "
        "(icacls FILE /inheritance:r /grant:r %USERNAME%:R)");
  }
  std::string content;
  char buffer[1024];
  while (content.size() <= kMaxSecret) {
    DWORD got = 0;
    if (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) == 0) {
      return fail(SystemMessage(GetLastError()));
    }
    if (got == 0) break;
    content.append(buffer, got);
  }
  std::string why;
  auto secret = SecretOfContent(std::move(content), &why);
  if (!secret) return fail(why);
  return secret;
}

}  // namespace azu::ctl
