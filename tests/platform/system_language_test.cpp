#include "platform/system_language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace azu::platform {
namespace {

TEST(LocaleVariables, TakesTheLanguagePartOfTheFirstSetVariable) {
  struct Case {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    std::string language;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "it_IT", "fr_FR", "de"},  // LC_ALL wins
      {nullptr, "it_IT", "fr_FR", "it"},
      {"", "", "fr_FR.UTF-8", "fr"},  // empty means unset
      {nullptr, nullptr, "de@euro", "de"},
      {nullptr, nullptr, "nl.ISO-8859-1", "nl"},
      {nullptr, nullptr, "en", "en"},
      {nullptr, nullptr, "FR_fr", "FR"},  // as the system reports it
      {nullptr, nullptr, "C", "C"},
      {nullptr, nullptr, "C.UTF-8", "C"},
      {nullptr, nullptr, "POSIX", "POSIX"},
      {"C", nullptr, "fr_FR", "C"},  // a set LC_ALL=C is the C locale
      {nullptr, nullptr, "_FR", "C"},
      {nullptr, nullptr, nullptr, "C"},  // unset is the C locale,
      {"", "", "", "C"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageFromLocaleVariables(c.lc_all, c.lc_messages, c.lang), c.language)
        << (c.lc_all != nullptr ? c.lc_all : "-") << " "
        << (c.lc_messages != nullptr ? c.lc_messages : "-") << " "
        << (c.lang != nullptr ? c.lang : "-");
  }
}

#ifndef _WIN32
// Reads the process environment; each case sets all three variables.
class SystemLanguage : public ::testing::Test {
 protected:
  static void Set(const char* lc_all, const char* lc_messages, const char* lang) {
    Put("LC_ALL", lc_all);
    Put("LC_MESSAGES", lc_messages);
    Put("LANG", lang);
  }
  static void Put(const char* name, const char* value) {
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  }
};

TEST_F(SystemLanguage, ReadsTheEnvironmentInOrder) {
  char buffer[16] = "unchanged";
  Set(nullptr, "it_IT.UTF-8", "fr_FR.UTF-8");
  ASSERT_TRUE(ReadSystemLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "it");
  Set("es_ES", "it_IT.UTF-8", "fr_FR.UTF-8");
  ASSERT_TRUE(ReadSystemLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "es");
  Set(nullptr, nullptr, "pt_BR");
  ASSERT_TRUE(ReadSystemLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "pt");
}

TEST_F(SystemLanguage, OnlyATooSmallBufferFailsAndLeavesItAlone) {
  char buffer[16] = "unchanged";
  Set(nullptr, nullptr, "fr_FR");
  EXPECT_FALSE(ReadSystemLanguage(buffer, 2));  // "fr" and its NUL need 3
  EXPECT_STREQ(buffer, "unchanged");
  EXPECT_TRUE(ReadSystemLanguage(buffer, 3));
  EXPECT_STREQ(buffer, "fr");
  Set(nullptr, nullptr, nullptr);
  EXPECT_TRUE(ReadSystemLanguage(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "C");
}
#endif

}  // namespace
}  // namespace azu::platform
