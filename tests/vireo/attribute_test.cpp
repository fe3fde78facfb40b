// Server attributes through the C interface, against a real zorne-emulator.

#include <gtest/gtest.h>

#include <string>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"
#include "tests/vireo/client_support.h"

namespace azu::test {
namespace {

class VireoAttributes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(emulator_.Started()) << emulator_.Error();
    ASSERT_EQ(client_.Status(), VIREO_OK);
    ASSERT_EQ(ATTR_openSession(client_.Handle(), &session_, 0), VIREO_OK);
  }
  VIREO_STATUS Set(const std::string& name, const std::string& value) {
    return ATTR_setDefault(&session_, 0, name.c_str(), value.c_str(), 0);
  }

  RunningEmulator emulator_;
  ClientConnection client_{emulator_};
  VIREO_ATTR_SESSION session_{};
};

TEST_F(VireoAttributes, SetValuesAreKeptByTheServer) {
  ASSERT_EQ(Set("PrinterName", "Lab 2 & Co = +1"), VIREO_OK);
  ASSERT_EQ(Set("Queue.Hold_max-1", "10"), VIREO_OK);
  ASSERT_EQ(Set("Empty", ""), VIREO_OK);
  ASSERT_EQ(Set("PrinterName", "Lab 3"), VIREO_OK);
  const std::string attributes = emulator_.Attributes();
  EXPECT_NE(attributes.find("PrinterName=Lab 3\n"), std::string::npos) << attributes;
  EXPECT_EQ(attributes.find("Lab 2"), std::string::npos) << attributes;
  EXPECT_NE(attributes.find("Queue.Hold_max-1=10\n"), std::string::npos) << attributes;
  EXPECT_NE(attributes.find("Empty=\n"), std::string::npos) << attributes;

  // Kept across a reboot of the server.
  ASSERT_EQ(SERVER_reboot(client_.Handle(), 0), VIREO_OK);
  EXPECT_NE(emulator_.Attributes().find("PrinterName=Lab 3\n"), std::string::npos);
  EXPECT_EQ(Set("PrinterName", "Lab 4"), VIREO_E_SESSION_ENDED);

  EXPECT_EQ(ATTR_closeSession(&session_, 0), VIREO_OK);
  EXPECT_EQ(ATTR_closeSession(&session_, 0), VIREO_E_SESSION);
}

TEST_F(VireoAttributes, RefusedNamesAndValuesChangeNothing) {
  ASSERT_EQ(Set("Kept", "1"), VIREO_OK);
  const std::string before = emulator_.Attributes();
  for (const std::string& name : {std::string("bad name"), std::string("a/b"),
                                  std::string("n\xC3\xA4me"), std::string(65, 'n')}) {
    EXPECT_EQ(Set(name, "1"), VIREO_E_ATTRIBUTE) << name;
  }
  EXPECT_EQ(ATTR_setDefault(&session_, 0, "", "1", 0), VIREO_E_ARGUMENT);
  for (const std::string& value :
       {std::string("two\nlines"), std::string("cr\r"), std::string(1025, 'v')}) {
    EXPECT_EQ(Set("Kept", value), VIREO_E_ATTRIBUTE);
  }
  EXPECT_EQ(emulator_.Attributes(), before);
  EXPECT_EQ(Set(std::string(64, 'n'), std::string(1024, 'v')), VIREO_OK);
}

}  // namespace
}  // namespace azu::test
