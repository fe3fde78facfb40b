#pragma once
// The key=value line rewrite of the server's configuration files: lines of the page's keys are
// rewritten (key kept as it stood) or dropped, every other line is copied, and rewritten keys the
// file did not hold are appended in the page's order.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "server/text_file.h"

namespace azu {

struct KeyRule {
  std::string key;                   // spelled as it is appended
  std::optional<std::string> value;  // nullopt: every line of the key is dropped, none appended
};

struct RewriteOutcome {
  bool droppedAny = false;  // at least one line was dropped
};

// The key of a line: the text before its first '=' (the whole line without one), not trimmed.
std::string_view LineKey(std::string_view line);
// Keys match without regard to ASCII case.
bool KeysMatch(std::string_view a, std::string_view b);

RewriteOutcome RewriteLines(TextFileReader& in, TextFileWriter& out,
                            std::span<const KeyRule> rules);

}  // namespace azu
