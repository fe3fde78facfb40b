#include "app/command_line.h"

#include <string_view>

#include "platform/ascii_case.h"

namespace azu {
namespace {

constexpr std::string_view kHeadlessArgument = "printerip";

}  // namespace

StartMode ChooseStartMode(int argc, const char* const* argv) {
  if (argc <= 1 || argv == nullptr || argv[1] == nullptr) return StartMode::Interactive;
  return platform::EqualsIgnoringAsciiCase(argv[1], kHeadlessArgument) ? StartMode::Headless
                                                                       : StartMode::Nothing;
}

}  // namespace azu
