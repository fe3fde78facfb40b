#include "framework/win32/win32_message_sink.h"

#include <windows.h>

#include "framework/win32/win32_dialog.h"

namespace azu {

int Win32MessageSink::Show(std::string_view text, unsigned type) {
  const std::wstring caption = WideFromCp1252(ApplicationName());
  const std::wstring body = WideFromCp1252(text);
  const int answer = MessageBoxW(GetActiveWindow(), body.c_str(), caption.c_str(), type);
  if (type == kQuestionBox) return answer == IDYES ? IDYES : IDNO;
  return IDOK;
}

}  // namespace azu
