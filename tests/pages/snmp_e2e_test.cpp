// The SNMP page end to end: each version's keys rewritten, the other version's removed.

#include <gtest/gtest.h>

#include "pages/snmp_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

class SnmpEndToEndTest : public test::PageEndToEndTest<CSNMPDlg> {
 protected:
  void SetUp() override {
    PageEndToEndTest::SetUp();
    ui.Type(CSNMPDlg::kGetCommunityId, "public");
    ui.Type(CSNMPDlg::kSetCommunityId, "private");
  }
  void ChooseVersion3(const char* auth, const char* priv) {
    ui.Choose(CSNMPDlg::kVersionListId, 1);
    ui.Type(CSNMPDlg::kAuthPasswordId, auth);
    ui.Type(CSNMPDlg::kPrivPasswordId, priv);
  }
};

TEST_F(SnmpEndToEndTest, Version1OverVersion3KeysRemovesThemAndAppendsTheCommunities) {
  EXPECT_EQ(ConfigureOver("Name=zorne1\r\n"
                          "SNMP.Version=3\r\n"
                          "snmp.UserName=Vadmin\r\n"
                          "\r\n"
                          "SNMP.AUTHPASSWORD=a\r\n"
                          "snmp.privpassword=p\r\n"
                          "URL=100.100.100.101\r\n"),
            "Name=zorne1\r\n"
            "SNMP.Version=1\r\n"
            "\r\n"
            "URL=100.100.100.101\r\n"
            "snmp.getcommunityname=public\r\n"
            "snmp.setcommunityname=private\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
}

TEST_F(SnmpEndToEndTest, Version3OverCommunitiesRemovesThemEvenTwice) {
  ChooseVersion3("auth pass", "");
  EXPECT_EQ(ConfigureOver("snmp.getcommunityname=public\r\n"
                          "snmp.version=1\r\n"
                          "SNMP.SetCommunityName=private\r\n"
                          "snmp.getcommunityname=again\r\n"
                          "Name=zorne1\r\n"),
            "snmp.version=3\r\n"
            "Name=zorne1\r\n"
            "snmp.username=Vadmin\r\n"
            "snmp.authpassword=auth pass\r\n"
            "snmp.privpassword=\r\n");
}

TEST_F(SnmpEndToEndTest, KeyStandingTwiceIsRewrittenTwice) {
  EXPECT_EQ(ConfigureOver("snmp.setcommunityname=x\r\n"
                          "snmp.version=2\r\n"
                          "snmp.setcommunityname=y\r\n"),
            "snmp.setcommunityname=private\r\n"
            "snmp.version=1\r\n"
            "snmp.setcommunityname=private\r\n"
            "snmp.getcommunityname=public\r\n");
}

TEST_F(SnmpEndToEndTest, RebootOnYesEndsTheRun) {
  recorder.SetNextAnswer(IDYES);
  ConfigureOver("");
  EXPECT_TRUE(Logged("reboot"));
  EXPECT_EQ(recorder.Boxes().size(), 1U);  // a reboot that succeeded shows nothing more
}

}  // namespace
}  // namespace azu
