// Message boxes of the headless watcher: written out in UTF-8 with the program's name, logged,
// and answered at once.

#include "attach/headless_message_sink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace azu {
namespace {

std::vector<std::string> g_logged;

void RecordLog(std::string_view text) {
  g_logged.emplace_back(text);
}

TEST(HeadlessMessageSink, WritesEachBoxToTheStreamAndTheLogAndAnswersOk) {
  SetApplicationName("Azu Quorvane Config");
  g_logged.clear();
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  HeadlessMessageSink sink(out, RecordLog);
  const ScopedMessageSink installed(sink);
  EXPECT_EQ(ShowMessageBox("Adresse non d\xE9"
                           "finie (5)",
                           kErrorBox),
            IDOK);
  EXPECT_EQ(ShowMessageBox("Reboot now?", kQuestionBox), IDOK);

  std::rewind(out);
  char buffer[256] = {};
  const std::size_t got = std::fread(buffer, 1, sizeof buffer - 1, out);
  std::fclose(out);
  EXPECT_EQ(std::string(buffer, got),
            "Azu Quorvane Config: Adresse non d\xC3\xA9"
            "finie (5)\n"
            "Azu Quorvane Config: Reboot now?\n");
  EXPECT_EQ(g_logged, (std::vector<std::string>{"Azu Quorvane Config: Adresse non d\xC3\xA9"
                                                "finie (5)",
                                                "Azu Quorvane Config: Reboot now?"}));
}

}  // namespace
}  // namespace azu
