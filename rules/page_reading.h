#pragma once
// Reading a page's file back: the values, under the names of the page's zornectl options, that
// would store what the server holds. Each page's reading sits beside the rule it inverts. What no
// page could have written is shown as it stands with a note, never guessed at.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/line_rewrite.h"

namespace azu {

struct ReadValue {
  std::string option;                // the page option's name, e.g. "http-port"
  std::optional<std::string> value;  // nullopt: not set
  bool secret = false;               // a password, passcode or community name
};

struct PageReading {
  std::vector<ReadValue> values;
  std::vector<std::string> notes;  // why the file is not wholly one the page writes

  [[nodiscard]] const ReadValue* Find(std::string_view option) const;
};

// A file's lines as the server's tools read them (LF or CR LF ends a line).
std::vector<std::string_view> FileLines(std::string_view content);

// The lines of a key=value file whose key is `key` (any case); their values.
std::vector<std::string_view> KeyValues(std::string_view content, std::string_view key);

// Notes where the file's keys differ from what `keys` (the plan of the values read) would leave:
// a key the page removes that is there, one it writes that is missing or holds another value.
// Nothing is noted when none of the keys is there (the page was never used).
void NoteKeysNotAsPlanned(std::string_view content, const std::vector<KeyRule>& keys,
                          PageReading& reading);

// The value of `key` for a reading: nullopt when absent; the first with a note when it appears
// more than once.
std::optional<std::string> SingleKeyValue(std::string_view content, std::string_view key,
                                          PageReading& reading);

}  // namespace azu
