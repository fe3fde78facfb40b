#include <initializer_list>
#include <string_view>

#include "platform/system_language.h"

namespace azu::platform {
namespace {
constexpr std::string_view kCLocale = "C";
}  // namespace

std::string LanguageFromLocaleVariables(const char* lc_all, const char* lc_messages,
                                        const char* lang) {
  const char* chosen = nullptr;
  for (const char* value : {lc_all, lc_messages, lang}) {
    if (value != nullptr && *value != '\0') {
      chosen = value;
      break;
    }
  }
  if (chosen == nullptr) return std::string(kCLocale);
  const std::string_view locale(chosen);
  const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
  return std::string(language.empty() ? kCLocale : language);
}

}  // namespace azu::platform
