#pragma once
// Comparing texts the way the pages compare list texts and server names: without regard to the
// case of letters, in Windows-1252 as every text of the table.

#include <string_view>

namespace azu {

// True when `a` and `b` differ at most in the case of letters (A-Z and the Windows-1252 letters
// with accents).
bool SameText(std::string_view a, std::string_view b);

// The text of `key` in the user's language; empty when the table lacks the key.
std::string_view TextOf(const char* key);

// Whether a list's text is the text of `key` in the user's language.
bool IsTextOf(std::string_view text, const char* key);

}  // namespace azu
