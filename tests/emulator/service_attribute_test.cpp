// Attribute defaults as the service keeps them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/emulator/service_fixture.h"

namespace azu::emulator::test {
namespace {

using ::testing::HasSubstr;

class AttributeServiceTest : public ServiceTest {
 protected:
  Response Set(const std::string& form) {
    return Handle(WithToken(MakeRequest("POST", "/v1/attribute", {}, form), token_));
  }
  std::string Stored() const { return ReadFile(root_ / ".zorne/attributes"); }

  std::string token_ = Login();
};

TEST_F(AttributeServiceTest, ValuesPersistAndTheLastOneWins) {
  EXPECT_EQ(Set("name=Network.Mode&value=dhcp").status, 204);
  EXPECT_EQ(Set("name=Panel_Lang&value=fr+%C3%A9t%C3%A9=1").status, 204);
  EXPECT_EQ(Set("name=Network.Mode&value=static").status, 204);
  EXPECT_EQ(Set("name=empty-1&value=").status, 204);
  EXPECT_EQ(Stored(), "Network.Mode=static\nPanel_Lang=fr \xC3\xA9t\xC3\xA9=1\nempty-1=\n");
  EXPECT_THAT(LastLogLine(), HasSubstr("attribute client=127.0.0.1 name=empty-1"));

  // Kept across a restart of the emulator, and still rewritten whole.
  Restart();
  token_ = Login();
  EXPECT_EQ(Set("name=After&value=restart").status, 204);
  EXPECT_EQ(Stored(),
            "After=restart\nNetwork.Mode=static\nPanel_Lang=fr \xC3\xA9t\xC3\xA9=1\nempty-1=\n");
}

TEST_F(AttributeServiceTest, RefusedNamesAndValuesChangeNothing) {
  ASSERT_EQ(Set("name=Kept&value=1").status, 204);
  const std::string forms[] = {
      "name=&value=x",
      "name=with+space&value=x",
      "name=a%3Db&value=x",
      "name=line%0Aend&value=x",
      "name=" + std::string(65, 'n') + "&value=x",
      "name=ok&value=line%0Aend",
      "name=ok&value=line%0Dend",
      "name=ok&value=nul%00",
      "name=ok&value=" + std::string(1025, 'v'),
      "name=ok",
      "value=x",
      "name=ok&value=1&value=2",
      "name=ok&value=%G0",
  };
  for (const std::string& form : forms) {
    EXPECT_EQ(Set(form).status, 400) << form.substr(0, 40);
  }
  EXPECT_EQ(Set("name=" + std::string(64, 'n') + "&value=" + std::string(1024, 'v')).status, 204);
  EXPECT_EQ(Stored(), "Kept=1\n" + std::string(64, 'n') + "=" + std::string(1024, 'v') + "\n");
}

TEST_F(AttributeServiceTest, AHandEditedFileLoadsWithTheLastLinePerNameWinning) {
  WriteFile(root_ / ".zorne/attributes", "A=1\nnot a line\nB=x\nA=2\n=nameless\n");
  Restart();
  token_ = Login();
  ASSERT_EQ(Set("name=C&value=3").status, 204);
  EXPECT_EQ(Stored(), "A=2\nB=x\nC=3\n");
}

}  // namespace
}  // namespace azu::emulator::test
