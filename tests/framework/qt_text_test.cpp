#include "framework/qt/qt_text.h"

#include <gtest/gtest.h>

namespace azu {
namespace {

TEST(QtText, Windows1252IsNotLatin1) {
  EXPECT_EQ(FromCp1252("\x80"), QString(QChar(0x20AC)));  // euro sign
  EXPECT_EQ(FromCp1252("\x9F"), QString(QChar(0x0178)));  // Y with diaeresis
  EXPECT_EQ(FromCp1252("\xE9t\xE9"), QString::fromUtf8("été"));
  EXPECT_EQ(ToCp1252(QString::fromUtf8("€ œ Ÿ")), "\x80 \x9C \x9F");
  EXPECT_TRUE(FromCp1252(static_cast<const char*>(nullptr)).isEmpty());
}

TEST(QtText, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(ToCp1252(QString::fromUtf8("a中b😀c")), "a?b?c");
}

}  // namespace
}  // namespace azu
