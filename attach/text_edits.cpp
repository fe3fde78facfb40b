#include "attach/text_edits.h"

#include "server/line_rewrite.h"

namespace azu {

std::string FromTextMode(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}

std::string ToTextMode(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

std::string SetKeyInText(std::string_view text, std::string_view key, std::string_view value) {
  std::string result;
  result.reserve(text.size() + value.size() + 1);
  ForEachLine(text, [&](std::string_view line) {
    const std::string_view lineKey = LineKey(line);
    if (!line.empty() && KeysMatch(lineKey, key)) {
      result.append(lineKey).append("=").append(value);
    } else {
      result.append(line);
    }
    result.push_back('\n');
  });
  return result;
}

std::string ReplaceAllInText(std::string_view text, std::string_view from, std::string_view to,
                             int* replaced) {
  int count = 0;
  std::string result;
  result.reserve(text.size());
  if (!from.empty()) {
    std::size_t found = 0;
    while ((found = text.find(from)) != std::string_view::npos) {
      result.append(text.substr(0, found)).append(to);
      text.remove_prefix(found + from.size());
      ++count;
    }
  }
  result.append(text);
  if (replaced != nullptr) *replaced = count;
  return result;
}

std::string_view TrimmedText(std::string_view text) {
  constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kWhiteSpace);
  return text.substr(first, last - first + 1);
}

}  // namespace azu
