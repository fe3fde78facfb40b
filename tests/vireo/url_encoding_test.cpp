#include "vireo/url_encoding.h"

#include <gtest/gtest.h>

namespace azu::vireo {
namespace {

TEST(VireoUrlEncoding, KeepsPathCharactersAndEscapesTheRest) {
  EXPECT_EQ(PercentEncode("/not-scsi0/azu/config_1.txt~"), "/not-scsi0/azu/config_1.txt~");
  // '+' and ' ' must stay apart; '%', '&', '=' and '?' must not end the value.
  EXPECT_EQ(PercentEncode("a b+c%d&e=f?g#h"), "a%20b%2Bc%25d%26e%3Df%3Fg%23h");
  EXPECT_EQ(PercentEncode("\xC3\xA9\r\n"), "%C3%A9%0D%0A");
  EXPECT_EQ(PercentEncode(std::string_view("a\0b", 3)), "a%00b");
}

TEST(VireoUrlEncoding, FormsPairsInOrder) {
  EXPECT_EQ(FormEncode({{"user", "admin"}, {"password", "p&w=1 +"}}),
            "user=admin&password=p%26w%3D1%20%2B");
  EXPECT_EQ(FormEncode({{"name", "x"}, {"value", ""}}), "name=x&value=");
}

}  // namespace
}  // namespace azu::vireo
