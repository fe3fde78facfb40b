#include "app/command_line.h"

#include <string_view>

namespace azu {
namespace {

constexpr std::string_view kHeadlessArgument = "printerip";

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

StartMode ChooseStartMode(int argc, const char* const* argv) {
  if (argc <= 1 || argv == nullptr || argv[1] == nullptr) return StartMode::Interactive;
  return EqualNoCase(argv[1], kHeadlessArgument) ? StartMode::Headless : StartMode::Nothing;
}

}  // namespace azu
