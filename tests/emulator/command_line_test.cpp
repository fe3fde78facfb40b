#include "emulator/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/emulator_test_support.h"

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
  EXPECT_EQ(parsed.options->session_lifetime, std::chrono::seconds(8 * 3600));
  EXPECT_FALSE(parsed.options->tls.key || parsed.options->tls.certificate);
}

TEST(EmulatorCommandLine, TakesEveryOptionInBothSpellings) {
  const ParsedCommandLine parsed =
      ParseCommandLine({"--listen=127.0.0.5:0", "--root", "/srv/e", "--admin-password", "a=b c",
                        "--name=Azu Lab", "--model", "QV5020", "--session-idle=2",
                        "--session-lifetime", "60", "--tls-cert", "c.pem", "--tls-key=k.pem"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->address, "127.0.0.5");
  EXPECT_EQ(parsed.options->port, 0);
  EXPECT_EQ(parsed.options->password, "a=b c");
  EXPECT_EQ(parsed.options->name, "Azu Lab");
  EXPECT_EQ(parsed.options->model, "QV5020");
  EXPECT_EQ(parsed.options->session_idle, std::chrono::seconds(2));
  EXPECT_EQ(parsed.options->session_lifetime, std::chrono::seconds(60));
  EXPECT_EQ(parsed.options->tls.certificate, "c.pem");
  EXPECT_EQ(parsed.options->tls.key, "k.pem");
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
      {"--root", "/e", "--session-lifetime", "0"},
      {"--root", "/e", "--tls-cert", "c.pem"},
      {"--root", "/e", "--tls-key", "k.pem"},
      {"--root", "/e", "--tls-cert", "", "--tls-key", "k.pem"},
      {"--root", "/e", "--admin-password-file", ""},
  };
  for (const auto& arguments : refused) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    EXPECT_FALSE(parsed.options) << shown;
    EXPECT_FALSE(parsed.error.empty()) << shown;
  }
}

TEST(EmulatorCommandLine, PasswordFromAFileTheEnvironmentOrWithAWarningTheCommandLine) {
  namespace fs = std::filesystem;
  test::ScratchFolder scratch;
  const auto secret = [&](const char* name, const std::string& content, fs::perms perms) {
    test::WriteFile(scratch.Path() / name, content);
    fs::permissions(scratch.Path() / name, perms);
    return (scratch.Path() / name).string();
  };
  const fs::perms owner = fs::perms::owner_read | fs::perms::owner_write;
  const std::string good = secret("good", "s3cret pw\r\nsecond line\n", owner);
  const std::string open = secret("open", "pw\n", owner | fs::perms::group_read);
  const std::string empty = secret("empty", "\npw\n", owner);
  const std::string folder = scratch.Path().string();

  struct Case {
    std::vector<std::string> options;
    const char* variable;
    std::string password;  // "" when refused with `error`
    std::string error;
  };
  const Case cases[] = {
      {{"--admin-password-file", good}, "env pw", "s3cret pw", ""},
      {{}, "env pw", "env pw", ""},
      {{}, "", "RONDEL", ""},
      {{"--admin-password", "argv pw"}, "env pw", "argv pw", ""},
      {{"--admin-password-file", open}, nullptr, "", "group or others"},
      {{"--admin-password-file", folder}, nullptr, "", "not a regular file"},
      {{"--admin-password-file", empty}, nullptr, "", "first line is empty"},
      {{"--admin-password-file", good, "--admin-password", "x"}, nullptr, "", "exclude"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--root", "/e"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ParsedCommandLine parsed = ParseCommandLine(arguments, c.variable);
    const std::string shown = arguments.back();
    if (c.password.empty()) {
      EXPECT_FALSE(parsed.options) << shown;
      EXPECT_THAT(parsed.error, ::testing::HasSubstr(c.error)) << shown;
      continue;
    }
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->password, c.password) << shown;
    // Only the password on the command line is shown to other users, and so warned about.
    const bool in_argument = c.options.size() == 2 && c.options[0] == "--admin-password";
    EXPECT_EQ(parsed.warnings.size(), in_argument ? 1u : 0u) << shown;
    if (in_argument) {
      EXPECT_THAT(parsed.warnings[0], ::testing::HasSubstr(kPasswordVariable));
    }
  }
}

}  // namespace
}  // namespace azu::emulator
