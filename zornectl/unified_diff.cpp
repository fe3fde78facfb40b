#include "zornectl/unified_diff.h"

#include <array>
#include <dtl/dtl.hpp>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/ascii_case.h"

namespace azu::ctl {
namespace {

constexpr const char* kMask = "********";
constexpr std::array<std::string_view, 4> kSecretWords = {"password", "pwd", "passcode",
                                                          "community"};

std::vector<std::string> Lines(const std::optional<std::string>& text) {
  std::vector<std::string> lines;
  if (!text) return lines;
  std::istringstream in(*text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string MaskSecret(const std::string& line) {
  const std::size_t separator = line.find_first_of("=:");
  if (separator == std::string::npos) return line;
  std::string key = line.substr(0, separator);
  for (char& c : key) c = platform::LowerAscii(c);
  for (const std::string_view word : kSecretWords) {
    if (key.find(word) != std::string::npos) return line.substr(0, separator + 1) + kMask;
  }
  return line;
}

std::string UnifiedDiff(const std::string& label, const std::optional<std::string>& before,
                        const std::optional<std::string>& after, bool wholeFileSecret) {
  if (before == after) return {};
  dtl::Diff<std::string> diff(Lines(before), Lines(after));
  diff.compose();
  diff.composeUnifiedHunks();
  std::ostringstream hunks;
  diff.printUnifiedFormat(hunks);
  std::ostringstream out;
  out << "--- " << (before ? label : "/dev/null") << "\n";
  out << "+++ " << (after ? label : "/dev/null") << "\n";
  std::istringstream printed(hunks.str());
  std::string line;
  while (std::getline(printed, line)) {
    if (line.empty() || line.starts_with("@@")) {
      out << line << "\n";
      continue;
    }
    const std::string text = line.substr(1);
    out << line[0] << (wholeFileSecret && !text.empty() ? kMask : MaskSecret(text)) << "\n";
  }
  return out.str();
}

}  // namespace azu::ctl
