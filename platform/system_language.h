#pragma once
// The system's ISO 639 language name (Windows: GetLocaleInfoA of the system default locale;
// POSIX: the language part of LC_ALL, else LC_MESSAGES, else LANG).

#include <cstddef>
#include <string>

namespace azu::platform {

// Writes the language name, NUL-ended, into `buffer`. Returns false (buffer untouched) when it
// cannot be read, as GetLocaleInfoA returning 0 would.
bool ReadSystemLanguage(char* buffer, std::size_t size);

// The POSIX rule on given variable values (null or empty = unset): the first set of LC_ALL,
// LC_MESSAGES, LANG; its part before '_', '.' or '@', taken as the system reports it. A POSIX
// locale always has a language: with none set, or an empty part, it is the C locale, "C"; "C"
// and "POSIX" are languages no table column matches, so their texts are English.
std::string LanguageFromLocaleVariables(const char* lc_all, const char* lc_messages,
                                        const char* lang);

}  // namespace azu::platform
