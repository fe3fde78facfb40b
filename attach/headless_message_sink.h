#pragma once
// Message boxes of the headless watcher: nobody watches a server's screen and a modal box would
// stop the watcher for good, so each text goes to standard error and the system log, and the box
// answers as if OK had been pressed.

#include <cstdio>
#include <string_view>

#include "framework/message_box.h"

namespace azu {

// One line of the watcher's own (UTF-8, English as the server's other logs) to standard error and
// the system log, after the program's name.
void WriteHeadlessLog(std::string_view line);

class HeadlessMessageSink final : public MessageSink {
 public:
  using LogWriter = void (*)(std::string_view utf8Text);

  // Defaults: the process's standard error and the system log.
  HeadlessMessageSink();
  HeadlessMessageSink(std::FILE* out, LogWriter log) : out_(out), log_(log) {}

  int Show(std::string_view text, unsigned type) override;

 private:
  std::FILE* out_;
  LogWriter log_;
};

}  // namespace azu
