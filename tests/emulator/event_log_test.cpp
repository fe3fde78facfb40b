#include "emulator/event_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator {
namespace {

using ::testing::MatchesRegex;

TEST(EmulatorEventLog, WritesOneLinePerEventToTheFileAndTheEcho) {
  test::ScratchFolder scratch;
  const auto file = scratch.Path() / "events.log";
  std::FILE* echo = std::tmpfile();
  ASSERT_NE(echo, nullptr);
  {
    const std::unique_ptr<EventLog> log = EventLog::Open(file, echo);
    ASSERT_TRUE(log);
    log->Record("put", {{"client", "127.0.0.1"}, {"path", "/harddisk2/a b\n2021-01-01 fake"}});
    log->Record("reboot", {});
  }
  const std::string text = test::ReadFile(file);
  EXPECT_THAT(text,
              MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}Z "
                           "put client=127\\.0\\.0\\.1 "
                           "path=/harddisk2/a\\\\x20b\\\\x0A2021-01-01\\\\x20fake\n"
                           "[-0-9T:.Z]+ reboot\n"));
  std::rewind(echo);
  std::string echoed(text.size() + 10, '\0');
  echoed.resize(std::fread(echoed.data(), 1, echoed.size(), echo));
  std::fclose(echo);
  EXPECT_EQ(echoed, text);

  // Appends after a restart.
  EventLog::Open(file, nullptr)->Record("restart", {});
  EXPECT_EQ(test::ReadFile(file).substr(0, text.size()), text);
}

TEST(EmulatorEventLog, EscapesEverythingThatCouldSplitOrForgeALine) {
  EXPECT_EQ(EscapeForLog("plain/path.txt"), "plain/path.txt");
  EXPECT_EQ(EscapeForLog(""), "\"\"");
  EXPECT_EQ(EscapeForLog(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(EscapeForLog("k=v \\"), "k\\x3Dv\\x20\\x5C");
  EXPECT_EQ(EscapeForLog("\xC3\xA9"), "\\xC3\\xA9");
  EXPECT_EQ(EscapeForLog(std::string(600, 'x')), std::string(512, 'x') + "...");
}

TEST(EmulatorEventLog, TimesAreUtcRfc3339) {
  EXPECT_EQ(Rfc3339Utc(std::chrono::system_clock::time_point(std::chrono::milliseconds(0))),
            "1970-01-01T00:00:00.000Z");
  EXPECT_EQ(
      Rfc3339Utc(std::chrono::system_clock::time_point(std::chrono::milliseconds(1700000000123))),
      "2023-11-14T22:13:20.123Z");
}

}  // namespace
}  // namespace azu::emulator
