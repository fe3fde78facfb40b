#pragma once
// The framework's own prompts when a number field holds no unsigned number or one out of range,
// in the language of the text table (Windows-1252).

#include <string>
#include <string_view>

namespace azu {

std::string NotANumberPrompt(std::string_view language);
std::string NumberRangePrompt(std::string_view language, unsigned min, unsigned max);

}  // namespace azu
