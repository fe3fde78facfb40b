#pragma once
// Reads a text table blob into rows of fields with no help from the code under test.

#include <span>
#include <string>
#include <utility>
#include <vector>

namespace azu::testing {

struct TextRows {
  std::vector<std::vector<std::string>> rows;
  bool ends_after_a_row = false;  // nothing follows the last row's closing NUL
};

inline TextRows ReadTextRows(std::span<const char> blob) {
  TextRows result;
  std::vector<std::string> row;
  std::string field;
  for (const char c : blob) {
    if (c != '\0') {
      field += c;
    } else if (!field.empty()) {
      row.push_back(std::exchange(field, {}));
    } else {
      result.rows.push_back(std::exchange(row, {}));
    }
  }
  result.ends_after_a_row = !blob.empty() && field.empty() && row.empty();
  return result;
}

}  // namespace azu::testing
