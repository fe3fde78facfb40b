#include "framework/message_box.h"

#include <cstdio>
#include <utility>

#include "app/cp1252.h"

namespace azu {
namespace {

// Nobody is known to watch a screen: say it on standard error and never block.
class StderrMessageSink final : public MessageSink {
 public:
  int Show(std::string_view text, unsigned type) override {
    const std::string utf8 = Cp1252ToUtf8(text);
    std::fprintf(stderr, "%s: %s\n", ApplicationName().c_str(), utf8.c_str());
    return type == kQuestionBox ? IDNO : IDOK;
  }
};

StderrMessageSink g_defaultSink;
MessageSink* g_sink = &g_defaultSink;
thread_local MessageSink* t_sink = nullptr;
std::string g_applicationName;

}  // namespace

MessageSink* InstallMessageSink(MessageSink* sink) {
  MessageSink* previous = g_sink;
  g_sink = sink != nullptr ? sink : &g_defaultSink;
  return previous;
}

MessageSink* InstallThreadMessageSink(MessageSink* sink) {
  return std::exchange(t_sink, sink);
}

int ShowMessageBox(std::string_view text, unsigned type) {
  return (t_sink != nullptr ? t_sink : g_sink)->Show(text, type);
}

int ShowMessageBox(const char* text, unsigned type) {
  return ShowMessageBox(text != nullptr ? std::string_view(text) : std::string_view(), type);
}

void SetApplicationName(std::string name) {
  g_applicationName = std::move(name);
}

const std::string& ApplicationName() {
  return g_applicationName;
}

}  // namespace azu
