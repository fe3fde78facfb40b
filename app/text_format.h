#pragma once
// Fills a number into a text from the table. Only "%d" is a placeholder; every other character,
// a stray "%" included, is taken literally, so a translated text can never read garbage.

#include <string>

namespace azu {

// Replaces each "%d" in `text` by `number` in decimal. A null text gives an empty string.
std::string FormatNumber(const char* text, long long number);

}  // namespace azu
