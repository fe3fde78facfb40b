#include <windows.h>

#include <string>

#include "platform/system_log.h"

namespace azu::platform {

void WriteSystemLog(std::string_view text) {
  HANDLE source = RegisterEventSourceA(nullptr, "azuqvc");
  if (source == nullptr) return;
  const std::string line(text);
  const char* strings[] = {line.c_str()};
  ReportEventA(source, EVENTLOG_ERROR_TYPE, 0, 0, nullptr, 1, 0, strings, nullptr);
  DeregisterEventSource(source);
}

}  // namespace azu::platform
