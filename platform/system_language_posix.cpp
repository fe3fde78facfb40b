#include <cstdlib>
#include <cstring>

#include "platform/system_language.h"

namespace azu::platform {

bool ReadSystemLanguage(char* buffer, std::size_t size) {
  const std::string language = LanguageFromLocaleVariables(
      std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
  // Too small a buffer fails as GetLocaleInfoA does, rather than giving a cut-off name.
  if (buffer == nullptr || language.size() >= size) return false;
  std::memcpy(buffer, language.c_str(), language.size() + 1);
  return true;
}

}  // namespace azu::platform
