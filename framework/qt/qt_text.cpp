#include "framework/qt/qt_text.h"

#include "app/cp1252.h"

namespace azu {

QString FromCp1252(std::string_view text) {
  QString result;
  result.reserve(static_cast<qsizetype>(text.size()));
  for (const char c : text) {
    result.append(QChar(Cp1252ToUtf16(static_cast<unsigned char>(c))));
  }
  return result;
}

QString FromCp1252(const char* text) {
  return text != nullptr ? FromCp1252(std::string_view(text)) : QString();
}

std::string ToCp1252(const QString& text) {
  std::string result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar ch : text) {
    if (ch.isHighSurrogate()) continue;  // the low half yields the one '?'
    const std::string utf8 = QString(ch).toStdString();
    const auto byte = Utf8ToCp1252(utf8);
    result += byte && byte->size() == 1 ? (*byte)[0] : '?';
  }
  return result;
}

}  // namespace azu
