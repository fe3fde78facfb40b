#include "rules/page_reading.h"

#include "server/line_rewrite.h"

namespace azu {

const ReadValue* PageReading::Find(std::string_view option) const {
  for (const ReadValue& value : values) {
    if (value.option == option) return &value;
  }
  return nullptr;
}

std::vector<std::string_view> FileLines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> KeyValues(std::string_view content, std::string_view key) {
  std::vector<std::string_view> values;
  for (const std::string_view line : FileLines(content)) {
    const std::string_view lineKey = LineKey(line);
    if (lineKey.size() < line.size() && KeysMatch(lineKey, key)) {
      values.push_back(line.substr(lineKey.size() + 1));
    }
  }
  return values;
}

void NoteKeysNotAsPlanned(std::string_view content, const std::vector<KeyRule>& keys,
                          PageReading& reading) {
  bool any = false;
  for (const KeyRule& rule : keys) any = any || !KeyValues(content, rule.key).empty();
  if (!any) return;
  for (const KeyRule& rule : keys) {
    const std::vector<std::string_view> values = KeyValues(content, rule.key);
    if (!rule.value && !values.empty()) {
      reading.notes.push_back(rule.key +
                              " is there, although the page removes it with these values");
    } else if (rule.value && values.empty()) {
      reading.notes.push_back(rule.key + " is missing, although the page writes it");
    } else if (rule.value && values.front() != *rule.value) {
      reading.notes.push_back(rule.key + "=" + std::string(values.front()) +
                              " is not as the page writes it (" + rule.key + "=" + *rule.value +
                              ")");
    }
  }
}

std::optional<std::string> SingleKeyValue(std::string_view content, std::string_view key,
                                          PageReading& reading) {
  const std::vector<std::string_view> values = KeyValues(content, key);
  if (values.empty()) return std::nullopt;
  if (values.size() > 1) {
    reading.notes.push_back(std::string(key) + " appears " + std::to_string(values.size()) +
                            " times; the first is shown");
  }
  return std::string(values.front());
}

}  // namespace azu
