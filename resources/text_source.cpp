#include "resources/text_source.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>

#include "app/cp1252.h"

namespace azu::resources {
namespace {

constexpr std::array<std::string_view, 8> kHeader = {"Key", "en", "fr", "it",
                                                     "de",  "es", "pt", "nl"};
constexpr std::size_t kEnglishOnly = 2;  // key and English text

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
       pos = text.find(separator, start)) {
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool ValidKey(std::string_view key) {
  if (key.size() < 3 || key[1] != '_') return false;
  if (std::string_view("LMPV").find(key[0]) == std::string_view::npos) return false;
  return std::ranges::all_of(key, [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    std::array<char, 4> hex{};
    std::snprintf(hex.data(), hex.size(), "%s%02X", out.empty() ? "" : " ",
                  static_cast<unsigned>(static_cast<unsigned char>(c)));
    out += hex.data();
  }
  return out;
}

// Length of the UTF-8 sequence that `lead` starts (1 for a byte that starts none).
std::size_t SequenceLength(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// Collects the problems of one source file.
class Checker {
 public:
  explicit Checker(std::string_view file_name) : file_name_(file_name) {}

  void Fail(std::size_t line, const std::string& problem) {
    errors_.push_back(std::string(file_name_) + ":" + std::to_string(line) + ": " + problem);
  }
  std::vector<std::string>& Errors() { return errors_; }

  // The text with its escapes resolved, or nullopt after reporting the problem.
  std::optional<std::string> Unescape(std::size_t line, std::string_view column,
                                      std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\\') {
        out += text[i];
        continue;
      }
      if (i + 1 == text.size()) {
        Fail(line, "column " + std::string(column) + ": backslash at the end of the text");
        return std::nullopt;
      }
      const char escaped = text[++i];
      if (escaped == 'n') {
        out += '\n';
      } else if (escaped == '\\') {
        out += '\\';
      } else {
        Fail(line, "column " + std::string(column) + R"(: unknown escape \)" + escaped +
                       R"( (only \n and \\ exist))");
        return std::nullopt;
      }
    }
    return out;
  }

  // The text in Windows-1252, or nullopt after reporting the first character that has no byte.
  std::optional<std::string> Encode(std::size_t line, std::string_view column,
                                    std::string_view text) {
    for (const char c : text) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\n') {
        Fail(line, "column " + std::string(column) + ": control character (byte " +
                       HexBytes(std::string_view(&c, 1)) + ")");
        return std::nullopt;
      }
    }
    if (std::optional<std::string> encoded = Utf8ToCp1252(text)) return encoded;
    for (std::size_t pos = 0; pos < text.size();) {
      const std::string_view one =
          text.substr(pos, SequenceLength(static_cast<unsigned char>(text[pos])));
      if (!Utf8ToCp1252(one)) {
        Fail(line, "column " + std::string(column) + ": \"" + std::string(one) + "\" (bytes " +
                       HexBytes(one) + ") cannot be encoded in Windows-1252");
        return std::nullopt;
      }
      pos += one.size();
    }
    Fail(line, "column " + std::string(column) + ": not valid UTF-8");
    return std::nullopt;
  }

 private:
  std::string_view file_name_;
  std::vector<std::string> errors_;
};

}  // namespace

TextBlobResult BuildTextBlob(std::string_view source, std::string_view file_name) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (source.starts_with(kByteOrderMark)) source.remove_prefix(kByteOrderMark.size());
  if (source.ends_with('\n')) source.remove_suffix(1);
  std::vector<std::string_view> lines = SplitOn(source, '\n');
  for (std::string_view& line : lines) {
    if (line.ends_with('\r')) line.remove_suffix(1);  // a checkout with Windows line ends
  }

  Checker check(file_name);
  std::string blob;
  const std::vector<std::string_view> header = SplitOn(lines.front(), '\t');
  if (!std::equal(header.begin(), header.end(), kHeader.begin(), kHeader.end())) {
    check.Fail(1, "the header must be the TAB-separated fields Key en fr it de es pt nl");
  }
  for (const std::string_view field : kHeader) (blob += field) += '\0';
  blob += '\0';

  std::unordered_map<std::string_view, std::size_t> key_lines;
  for (std::size_t index = 1; index < lines.size(); ++index) {
    const std::size_t line = index + 1;
    if (lines[index].empty()) {
      check.Fail(line, "empty line");
      continue;
    }
    const std::vector<std::string_view> fields = SplitOn(lines[index], '\t');
    if (fields.size() != kEnglishOnly && fields.size() != kHeader.size()) {
      check.Fail(line, std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields") +
                           "; a row has " + std::to_string(kEnglishOnly) +
                           " (key and English) or " + std::to_string(kHeader.size()));
      continue;
    }
    const std::string_view key = fields[0];
    if (!ValidKey(key)) {
      check.Fail(line, "key \"" + std::string(key) +
                           "\" must start with L_, M_, P_ or V_ and hold only ASCII letters, "
                           "digits and _");
    } else if (const auto [it, added] = key_lines.try_emplace(key, line); !added) {
      check.Fail(line,
                 "key " + std::string(key) + " already on line " + std::to_string(it->second));
    }
    std::string row = std::string(key) + '\0';
    for (std::size_t column = 1; column < fields.size(); ++column) {
      if (fields[column].empty()) {
        check.Fail(line, "column " + std::string(kHeader[column]) + " is empty");
        continue;
      }
      const std::optional<std::string> text = check.Unescape(line, kHeader[column], fields[column]);
      if (!text) continue;
      const std::optional<std::string> encoded = check.Encode(line, kHeader[column], *text);
      if (encoded) (row += *encoded) += '\0';
    }
    (blob += row) += '\0';
  }

  TextBlobResult result;
  result.errors = std::move(check.Errors());
  if (result.errors.empty()) result.blob = std::move(blob);
  return result;
}

std::string EmbeddedTableSource(std::string_view blob) {
  std::string out =
      "// Generated from texts.tsv by make_text_blob; edit texts.tsv instead.\n"
      "#include \"platform/embedded_text_table.h\"\n\n"
      "namespace azu::platform {\nnamespace {\n\n"
      "constexpr unsigned char kTextTable[] = {";
  for (std::size_t i = 0; i < blob.size(); ++i) {
    std::array<char, 8> byte{};
    std::snprintf(byte.data(), byte.size(), "0x%02x,",
                  static_cast<unsigned>(static_cast<unsigned char>(blob[i])));
    out += (i % 16 == 0) ? "\n    " : " ";
    out += byte.data();
  }
  out +=
      "\n};\n\n}  // namespace\n\n"
      "std::span<const char> EmbeddedTextTable() {\n"
      "  return {reinterpret_cast<const char*>(kTextTable), sizeof kTextTable};\n"
      "}\n\n}  // namespace azu::platform\n";
  return out;
}

}  // namespace azu::resources
