#pragma once
// The one dispatch through which every message box of the program goes: four kinds of box, the
// application name as caption, and a sink installed at start-up (Qt window, headless log, or a
// test recorder). No Qt here, so the transaction engine and the headless watcher can use it.

#include <string>
#include <string_view>

namespace azu {

// Box kinds (the Windows type values).
inline constexpr unsigned kNoticeBox = 0;        // OK, default exclamation icon
inline constexpr unsigned kErrorBox = 16;        // OK, stop icon
inline constexpr unsigned kQuestionBox = 36;     // Yes/No, question icon
inline constexpr unsigned kInformationBox = 64;  // OK, information icon

// Dialog and message box results (the Windows values; where <windows.h> came first, its own).
#ifndef IDOK
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
#endif

// Where message boxes go. `text` is Windows-1252, as every text of the table.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual int Show(std::string_view text, unsigned type) = 0;
};

// Installs `sink` (not owned; null restores the default) and returns the one it replaces.
// The default writes the text to standard error and answers at once (No to a question).
MessageSink* InstallMessageSink(MessageSink* sink);

// Shows `text` (Windows-1252; null shows an empty box) in a box of `type`; returns IDOK, IDYES
// or IDNO.
int ShowMessageBox(std::string_view text, unsigned type);
int ShowMessageBox(const char* text, unsigned type);

// The caption of every box: the application name, set once at start-up.
void SetApplicationName(std::string name);
const std::string& ApplicationName();

// Installs `sink` for the calling thread only, in front of the process's sink (null removes it);
// returns the one it replaces. For work that runs on several threads at once, each with its own
// messages (zornectl's servers).
MessageSink* InstallThreadMessageSink(MessageSink* sink);

// Installs a sink for the life of a scope.
class ScopedMessageSink {
 public:
  explicit ScopedMessageSink(MessageSink& sink) : previous_(InstallMessageSink(&sink)) {}
  ~ScopedMessageSink() { InstallMessageSink(previous_); }
  ScopedMessageSink(const ScopedMessageSink&) = delete;
  ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

 private:
  MessageSink* previous_;
};

// Installs a sink for the calling thread for the life of a scope.
class ScopedThreadMessageSink {
 public:
  explicit ScopedThreadMessageSink(MessageSink& sink)
      : previous_(InstallThreadMessageSink(&sink)) {}
  ~ScopedThreadMessageSink() { InstallThreadMessageSink(previous_); }
  ScopedThreadMessageSink(const ScopedThreadMessageSink&) = delete;
  ScopedThreadMessageSink& operator=(const ScopedThreadMessageSink&) = delete;

 private:
  MessageSink* previous_;
};

}  // namespace azu
