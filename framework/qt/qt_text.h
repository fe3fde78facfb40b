#pragma once
// Texts of the program (Windows-1252 bytes) to and from Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace azu {

QString FromCp1252(std::string_view text);
QString FromCp1252(const char* text);  // null gives an empty string
// Characters without a Windows-1252 byte become '?', as an ANSI window would give them.
std::string ToCp1252(const QString& text);

}  // namespace azu
