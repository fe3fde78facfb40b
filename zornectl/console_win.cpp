#include "zornectl/console.h"

#include <windows.h>
#include <io.h>

#include <vector>

#include "platform/windows_handle.h"
#include "zornectl/secret_file.h"

namespace azu::ctl {
namespace {

platform::WindowsHandle OpenConsole(const wchar_t* name) {
  return platform::WindowsHandle(CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
}

void Write(HANDLE console, const std::wstring& text) {
  DWORD written = 0;
  WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring Wide(const std::string& utf8) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

bool InputIsTerminal() {
  return IsTerminal(stdin);
}

std::optional<std::string> PromptWithoutEcho(const std::string& prompt) {
  const platform::WindowsHandle input = OpenConsole(L"CONIN$");
  const platform::WindowsHandle output = OpenConsole(L"CONOUT$");
  DWORD before = 0;
  if (!input.Valid() || !output.Valid() || GetConsoleMode(input.Get(), &before) == 0) {
    return std::nullopt;
  }
  const DWORD quiet = (before & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) | ENABLE_LINE_INPUT |
                      ENABLE_PROCESSED_INPUT;
  Write(output.Get(), Wide(prompt));
  if (SetConsoleMode(input.Get(), quiet) == 0) return std::nullopt;
  // UTF-8, as a Linux terminal gives it, whatever the console's code page.
  std::wstring answer;
  bool ended = false;
  for (;;) {
    wchar_t c = 0;
    DWORD got = 0;
    if (ReadConsoleW(input.Get(), &c, 1, &got, nullptr) == 0 || got == 0) {
      ended = true;
      break;
    }
    if (c == L'\n') break;
    if (answer.size() < kMaxSecret) answer.push_back(c);
  }
  SetConsoleMode(input.Get(), before);
  Write(output.Get(), L"\r\n");  // the line end the typing did not show
  if (ended && answer.empty()) return std::nullopt;
  return WithoutLineEnd(Utf8(answer));
}

}  // namespace azu::ctl
