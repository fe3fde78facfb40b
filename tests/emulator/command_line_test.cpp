#include "emulator/command_line.h"

#include <gtest/gtest.h>

namespace azu::emulator {
namespace {

TEST(EmulatorCommandLine, DefaultsNeedOnlyTheRoot) {
  const ParsedCommandLine parsed = ParseCommandLine({"--root", "/srv/e"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->root, "/srv/e");
  EXPECT_EQ(parsed.options->address, "127.0.0.1");
  EXPECT_EQ(parsed.options->port, 9631);
  EXPECT_EQ(parsed.options->password, "RONDEL");
  EXPECT_EQ(parsed.options->name, "");  // the host name, found at start
  EXPECT_EQ(parsed.options->model, "QV5010");
  EXPECT_EQ(parsed.options->session_idle, std::chrono::seconds(600));
}

TEST(EmulatorCommandLine, TakesEveryOptionInBothSpellings) {
  const ParsedCommandLine parsed =
      ParseCommandLine({"--listen=127.0.0.5:0", "--root", "/srv/e", "--admin-password", "a=b c",
                        "--name=Azu Lab", "--model", "QV5020", "--session-idle=2"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->address, "127.0.0.5");
  EXPECT_EQ(parsed.options->port, 0);
  EXPECT_EQ(parsed.options->password, "a=b c");
  EXPECT_EQ(parsed.options->name, "Azu Lab");
  EXPECT_EQ(parsed.options->model, "QV5020");
  EXPECT_EQ(parsed.options->session_idle, std::chrono::seconds(2));
  EXPECT_TRUE(ParseCommandLine({"--root", "/e", "--admin-password", ""}).options);
  EXPECT_TRUE(ParseCommandLine({"--help"}).options->help);
}

TEST(EmulatorCommandLine, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"--listen", "127.0.0.1:0"},
      {"--root"},
      {"--root", ""},
      {"--root", "/e", "--root", "/f"},
      {"--root", "/e", "extra"},
      {"--root", "/e", "--port", "1"},
      {"--root", "/e", "--listen", "127.0.0.1"},
      {"--root", "/e", "--listen", "localhost:9631"},
      {"--root", "/e", "--listen", "127.0.0.1:65536"},
      {"--root", "/e", "--listen", "127.0.0.1:-1"},
      {"--root", "/e", "--listen", "127.0.0.1:96x"},
      {"--root", "/e", "--listen", "[::1]:9631"},
      {"--root", "/e", "--name", ""},
      {"--root", "/e", "--name", "two\nlines"},
      {"--root", "/e", "--model", std::string(256, 'm')},
      {"--root", "/e", "--session-idle", "0"},
      {"--root", "/e", "--session-idle", "ten"},
  };
  for (const auto& arguments : refused) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    EXPECT_FALSE(parsed.options) << shown;
    EXPECT_FALSE(parsed.error.empty()) << shown;
  }
}

}  // namespace
}  // namespace azu::emulator
