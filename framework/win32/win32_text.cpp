#include <vector>

#include "framework/win32/win32_dialog.h"

namespace azu {

std::wstring WideFromCp1252(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(1252, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(1252, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Cp1252FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(1252, 0, text.data(), size, nullptr, 0, "?", nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(1252, 0, text.data(), size, narrow.data(), length, "?", nullptr);
  return narrow;
}

std::string WindowTextOf(HWND hwnd) {
  if (hwnd == nullptr) return {};
  const int length = GetWindowTextLengthW(hwnd);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return Cp1252FromWide(std::wstring_view(buffer.data(), static_cast<std::size_t>(got)));
}

void SetWindowTextOf(HWND hwnd, const char* text) {
  if (hwnd == nullptr) return;
  SetWindowTextW(hwnd, WideFromCp1252(text != nullptr ? text : "").c_str());
}

}  // namespace azu
