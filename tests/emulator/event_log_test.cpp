#include "emulator/event_log.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <sstream>

#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator {
namespace {

using ::testing::HasSubstr;
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

TEST(EmulatorEventLog, AFullLogMovesAsideKeepingOneOlderFile) {
  test::ScratchFolder scratch;
  const auto file = scratch.Path() / "events.log";
  const auto older = scratch.Path() / "events.log.1";
  test::WriteFile(older, "from long ago\n");
  constexpr std::size_t kLimit = 200;  // six lines of about 33 bytes
  std::vector<std::string> recorded;
  for (int start = 0; start < 2; ++start) {  // the size counts across a restart
    const std::unique_ptr<EventLog> log = EventLog::Open(file, nullptr, kLimit);
    ASSERT_TRUE(log);
    for (int i = 0; i < 10; ++i) {
      const std::string number = std::to_string(recorded.size());
      log->Record("get", {{"n", number}});
      recorded.push_back("n=" + number);
    }
  }
  const std::string current = test::ReadFile(file);
  const std::string previous = test::ReadFile(older);
  EXPECT_LE(current.size(), kLimit);
  EXPECT_GT(current.size() + previous.size(), kLimit);
  EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "events.log.2"));
  // The two files hold the latest events in order, none cut.
  std::vector<std::string> kept;
  std::istringstream lines(previous + current);
  for (std::string line; std::getline(lines, line);)
    kept.push_back(line.substr(line.rfind(' ') + 1));
  ASSERT_LE(kept.size(), recorded.size());
  EXPECT_EQ(kept, std::vector<std::string>(recorded.end() - static_cast<long>(kept.size()),
                                           recorded.end()));
}

// What is not a regular file of the log's own is never moved aside when the log is full: a fifo,
// a character device (made only where the test may, as root), a file put in place of the opened
// one. The log writes on where it writes and says so once.
TEST(EmulatorEventLog, OnlyItsOwnRegularFileIsEverMovedAside) {
  enum class Kind { kFifo, kDevice, kReplaced };
  for (const Kind kind : {Kind::kFifo, Kind::kDevice, Kind::kReplaced}) {
    test::ScratchFolder scratch;
    const auto file = scratch.Path() / "events.log";
    int reader = -1;  // keeps the fifo open for writing without a wait
    if (kind == Kind::kFifo) {
      ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
      reader = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
      ASSERT_GE(reader, 0);
    } else if (kind == Kind::kDevice &&
               ::mknod(file.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
      continue;  // not root: no device of our own to try
    }
    struct stat before {};
    const std::unique_ptr<EventLog> log = EventLog::Open(file, nullptr, 100);
    ASSERT_TRUE(log);
    if (kind == Kind::kReplaced) {
      log->Record("get", {{"n", "first"}});
      std::filesystem::rename(file, scratch.Path() / "moved.log");
      test::WriteFile(file, "someone else's\n");
    }
    ASSERT_EQ(::lstat(file.c_str(), &before), 0);
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 10; ++i) log->Record("get", {{"n", std::to_string(i)}});
    const std::string said = ::testing::internal::GetCapturedStderr();

    struct stat after {};
    ASSERT_EQ(::lstat(file.c_str(), &after), 0) << static_cast<int>(kind);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_FALSE(std::filesystem::exists(scratch.Path() / "events.log.1"));
    EXPECT_EQ(said, "zorne-emulator: " + file.string() +
                        " is not the regular file opened as the events log; it is not rotated\n");
    if (kind == Kind::kReplaced) {
      EXPECT_EQ(test::ReadFile(file), "someone else's\n");
      EXPECT_THAT(test::ReadFile(scratch.Path() / "moved.log"), HasSubstr("n=9\n"));
    }
    if (reader >= 0) ::close(reader);
  }
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
