#pragma once
// The localised text table: key -> text of the language column chosen at start-up, parsed in place
// from the embedded resource (rows of NUL-ended Windows-1252 fields, a header row of language
// codes).

#include <cstddef>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace azu {

// Splits the row starting at `row` into `fields` (key first). Every step is bounded by `end`: a
// field that is not NUL-ended before `end` is not taken. `*next` is set to the byte after the
// row's closing NUL (or `end`). Returns the number of fields after the key (fields.size() - 1),
// or -1 when not even a key could be read.
int SplitTextRow(const char* row, const char* end, std::vector<std::string_view>& fields,
                 const char** next);

// One loaded table. Texts point into the blob, which must outlive the table.
class TextTable {
 public:
  // Replaces the content with the blob's rows in the column of `language` (exact match against
  // the header's codes; no match gives the first column, English).
  void Load(std::span<const char> blob, std::string_view language);
  void Clear();

  // The text for `key` (case-sensitive), or nullptr when the table has no such key.
  [[nodiscard]] const char* Get(std::string_view key) const;
  // Header code of the chosen column; "en" when nothing is loaded.
  [[nodiscard]] std::string_view Language() const { return language_; }
  [[nodiscard]] std::size_t Size() const { return texts_.size(); }

 private:
  std::unordered_map<std::string_view, const char*> texts_;
  std::string_view language_ = "en";
};

// The system language name, filled once by start-up (an ISO 639 code such as "en").
inline constexpr std::size_t kLanguageBufferSize = 1000;
extern char g_systemLanguage[kLanguageBufferSize];

// Loads the embedded table for g_systemLanguage into the process-wide table.
void LoadTextTable();
// Text of `key` in the chosen language, or nullptr. Valid for the rest of the run.
const char* GetText(const char* key);
// The process-wide table (read-only use after start-up).
TextTable& ProcessTextTable();

}  // namespace azu
