#include "app/command_line.h"

#include <gtest/gtest.h>

namespace azu {
namespace {

StartMode Choose(std::initializer_list<const char*> args) {
  std::vector<const char*> argv(args);
  return ChooseStartMode(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NoArgumentOpensTheMainWindow) {
  EXPECT_EQ(Choose({"azuqvc"}), StartMode::Interactive);
  EXPECT_EQ(ChooseStartMode(0, nullptr), StartMode::Interactive);
}

TEST(CommandLine, PrinterIpInAnyLetterCaseRunsHeadlessAndLaterArgumentsAreIgnored) {
  EXPECT_EQ(Choose({"azuqvc", "printerip"}), StartMode::Headless);
  EXPECT_EQ(Choose({"azuqvc", "PRINTERIP"}), StartMode::Headless);
  EXPECT_EQ(Choose({"azuqvc", "PrinterIP", "10.0.0.9"}), StartMode::Headless);
}

TEST(CommandLine, AnyOtherFirstArgumentDoesNothing) {
  for (const char* arg : {"-h", "", "printerip2", "printer", " printerip", "--help"}) {
    EXPECT_EQ(Choose({"azuqvc", arg}), StartMode::Nothing) << arg;
  }
  EXPECT_EQ(Choose({"azuqvc", "-h", "printerip"}), StartMode::Nothing);
}

}  // namespace
}  // namespace azu
