#include <windows.h>

#include "platform/system_language.h"

namespace azu::platform {

bool ReadSystemLanguage(char* buffer, std::size_t size) {
  // The system's default locale, not the user's.
  return GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_SISO639LANGNAME, buffer,
                        static_cast<int>(size)) != 0;
}

}  // namespace azu::platform
