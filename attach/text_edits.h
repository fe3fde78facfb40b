#pragma once
// The edits the watcher makes to configuration text: text-mode line ends, the value of a key,
// the replacement of a fixed text. Pure functions; the files are read and written elsewhere.

#include <string>
#include <string_view>

namespace azu {

// As a text-mode read sees the bytes (CR LF becomes LF), and as a text-mode write stores a text
// (every LF becomes CR LF).
std::string FromTextMode(std::string_view bytes);
std::string ToTextMode(std::string_view text);

// Calls `line` for each line of `text` without its LF; a last line without one counts too.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& line) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    line(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// Every line whose key (text before the first '=', the whole line without one) equals `key`
// ignoring case becomes that key as written, '=' and `value`; every line then ends in LF.
std::string SetKeyInText(std::string_view text, std::string_view key, std::string_view value);

// Replaces each occurrence of `from` (left to right, replaced text not searched again) and
// counts them in `*replaced`.
std::string ReplaceAllInText(std::string_view text, std::string_view from, std::string_view to,
                             int* replaced);

// Without leading and trailing white space.
std::string_view TrimmedText(std::string_view text);

}  // namespace azu
