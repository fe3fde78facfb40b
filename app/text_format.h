#pragma once
// Fills a number or texts into a text from the table. Only "%d", or "%1" to "%9", is a
// placeholder; every other character, a stray "%" included, is taken literally, so a translated
// text can never read garbage.

#include <string>
#include <string_view>
#include <vector>

namespace azu {

// Replaces each "%d" in `text` by `number` in decimal. A null text gives an empty string.
std::string FormatNumber(const char* text, long long number);

// Replaces each "%1" to "%9" in `text` by that value of `values` (numbered from 1), so that a
// translation may put them in its own order. A number without a value stays as it is; a value
// is never read again for placeholders. A null text gives an empty string.
std::string FormatTexts(const char* text, const std::vector<std::string_view>& values);

}  // namespace azu
