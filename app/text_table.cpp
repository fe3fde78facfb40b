#include "app/text_table.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/resource.h"

namespace azu {
namespace {

// A row counts only when its closing NUL lies inside the blob: its last field's NUL and the
// closing NUL are the two bytes before `next`. A truncated blob thus loses its last row whole
// instead of giving a row whose texts stop short of the chosen column.
bool RowClosed(const char* row, const char* next) {
  return next - row >= 2 && next[-1] == '\0' && next[-2] == '\0';
}

}  // namespace

char g_systemLanguage[kLanguageBufferSize] = {};

int SplitTextRow(const char* row, const char* end, std::vector<std::string_view>& fields,
                 const char** next) {
  fields.clear();
  const char* pos = row;
  while (pos < end) {
    const auto* nul =
        static_cast<const char*>(std::memchr(pos, '\0', static_cast<std::size_t>(end - pos)));
    if (nul == nullptr) {  // unterminated field: not taken
      pos = end;
      break;
    }
    if (nul == pos) {  // empty field: the row's closing NUL
      ++pos;
      break;
    }
    fields.emplace_back(pos, static_cast<std::size_t>(nul - pos));
    pos = nul + 1;
  }
  *next = pos;
  return static_cast<int>(fields.size()) - 1;
}

void TextTable::Load(std::span<const char> blob, std::string_view language) {
  Clear();
  if (blob.empty()) return;
  const char* const end = blob.data() + blob.size();
  std::vector<std::string_view> fields;
  fields.reserve(16);

  const char* next = nullptr;
  const int languages = SplitTextRow(blob.data(), end, fields, &next);
  if (languages < 0 || !RowClosed(blob.data(), next)) return;
  std::size_t column = 1;
  for (int i = 1; i <= languages; ++i) {
    if (fields[static_cast<std::size_t>(i)] == language) {
      column = static_cast<std::size_t>(i);
      break;
    }
  }
  if (languages >= 1) language_ = fields[column];

  texts_.reserve(256);
  for (const char* row = next; row < end; row = next) {
    const int count = SplitTextRow(row, end, fields, &next);
    if (count < 1 || !RowClosed(row, next)) continue;
    // A row shorter than the chosen column gives its last text.
    const std::size_t field = std::min(static_cast<std::size_t>(count), column);
    texts_.insert_or_assign(fields[0], fields[field].data());
  }
}

void TextTable::Clear() {
  texts_.clear();
  language_ = "en";
}

const char* TextTable::Get(std::string_view key) const {
  const auto it = texts_.find(key);
  return it == texts_.end() ? nullptr : it->second;
}

TextTable& ProcessTextTable() {
  static TextTable table;
  return table;
}

void LoadTextTable() {
  const char* const language_end =
      std::find(std::begin(g_systemLanguage), std::end(g_systemLanguage), '\0');
  ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId),
                          std::string_view(g_systemLanguage, language_end));
}

const char* GetText(const char* key) {
  return key == nullptr ? nullptr : ProcessTextTable().Get(key);
}

}  // namespace azu
