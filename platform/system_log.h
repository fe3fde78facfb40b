#pragma once
// One line to the system log (POSIX: syslog; Windows: the Application event log), for a program
// that runs where nobody watches a screen.

#include <string_view>

namespace azu::platform {

// `text` is UTF-8.
void WriteSystemLog(std::string_view text);

}  // namespace azu::platform
