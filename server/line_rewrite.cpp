#include "server/line_rewrite.h"

#include <vector>

#include "platform/ascii_case.h"

namespace azu {

std::string_view LineKey(std::string_view line) {
  return line.substr(0, line.find('='));
}

bool KeysMatch(std::string_view a, std::string_view b) {
  return platform::EqualsIgnoringAsciiCase(a, b);
}

RewriteOutcome RewriteLines(TextFileReader& in, TextFileWriter& out,
                            std::span<const KeyRule> rules) {
  RewriteOutcome outcome;
  std::vector<bool> seen(rules.size(), false);
  std::string line;
  std::string rewritten;
  while (in.ReadLine(line)) {
    if (line.empty()) {
      out.WriteLine({});
      continue;
    }
    const std::string_view key = LineKey(line);
    std::size_t rule = 0;
    while (rule < rules.size() && !KeysMatch(key, rules[rule].key)) ++rule;
    if (rule == rules.size()) {
      out.WriteLine(line);
    } else if (!rules[rule].value) {
      outcome.droppedAny = true;  // not even a line end remains
    } else {
      rewritten.assign(key);
      rewritten += '=';
      rewritten += *rules[rule].value;
      out.WriteLine(rewritten);
      seen[rule] = true;
    }
  }
  for (std::size_t rule = 0; rule < rules.size(); ++rule) {
    if (seen[rule] || !rules[rule].value) continue;
    out.WriteLine(rules[rule].key + "=" + *rules[rule].value);
  }
  return outcome;
}

}  // namespace azu
