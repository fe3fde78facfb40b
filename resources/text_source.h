#pragma once
// Converts the text table source (UTF-8, TAB-separated, one row per line) into the raw resource
// that the loader parses, refusing any source the loader would misread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace azu::resources {

// The resource bytes, or every problem found, each as "<file>:<line>: <problem>".
struct TextBlobResult {
  std::optional<std::string> blob;
  std::vector<std::string> errors;
};

// Header "Key en fr it de es pt nl"; every other row a key (L_, M_, P_ or V_ and ASCII) and
// either the English text alone or all seven texts. Texts know two escapes, "\n" and "\\".
TextBlobResult BuildTextBlob(std::string_view source, std::string_view file_name);

// A C++ source that defines azu::platform::EmbeddedTextTable() over `blob`.
std::string EmbeddedTableSource(std::string_view blob);

}  // namespace azu::resources
