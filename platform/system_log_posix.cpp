#include <syslog.h>

#include <string>

#include "platform/system_log.h"

namespace azu::platform {

void WriteSystemLog(std::string_view text) {
  static const bool opened = [] {
    openlog("azuqvc", LOG_PID, LOG_USER);
    return true;
  }();
  static_cast<void>(opened);
  const std::string line(text);
  syslog(LOG_ERR, "%s", line.c_str());
}

}  // namespace azu::platform
