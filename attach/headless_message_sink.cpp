#include "attach/headless_message_sink.h"

#include <string>

#include "app/cp1252.h"
#include "platform/system_log.h"

namespace azu {

void WriteHeadlessLog(std::string_view line) {
  const std::string text = ApplicationName() + ": " + std::string(line);
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  platform::WriteSystemLog(text);
}

HeadlessMessageSink::HeadlessMessageSink()
    : HeadlessMessageSink(stderr, platform::WriteSystemLog) {}

int HeadlessMessageSink::Show(std::string_view text, unsigned /*type*/) {
  const std::string line = ApplicationName() + ": " + Cp1252ToUtf8(text);
  std::fprintf(out_, "%s\n", line.c_str());
  std::fflush(out_);
  log_(line);
  return IDOK;
}

}  // namespace azu
