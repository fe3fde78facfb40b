#include "attach/headless_message_sink.h"

#include <string>

#include "app/cp1252.h"
#include "platform/system_log.h"

namespace azu {

namespace {

// After the program's name, to `out` and to the system log.
void WriteLine(std::FILE* out, HeadlessMessageSink::LogWriter log, std::string_view utf8Text) {
  const std::string line = ApplicationName() + ": " + std::string(utf8Text);
  std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
  log(line);
}

}  // namespace

void WriteHeadlessLog(std::string_view line) {
  WriteLine(stderr, platform::WriteSystemLog, line);
}

HeadlessMessageSink::HeadlessMessageSink()
    : HeadlessMessageSink(stderr, platform::WriteSystemLog) {}

int HeadlessMessageSink::Show(std::string_view text, unsigned /*type*/) {
  WriteLine(out_, log_, Cp1252ToUtf8(text));
  return IDOK;
}

}  // namespace azu
