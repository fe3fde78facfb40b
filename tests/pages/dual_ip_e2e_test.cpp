// The Dual IP page end to end: the keys, the rules file and the attribute as the server holds
// them after Add and Delete, and a Delete whose rules file is gone.

#include <gtest/gtest.h>

#include "pages/dual_ip_dlg.h"
#include "tests/pages/e2e_fixture.h"

namespace azu {
namespace {

constexpr const char* kRules = "/not-scsi0/net/oemnetshrules.bat";
constexpr const char* kWithKeys =
    "Name=zorne1\r\n"
    "DUALIPADDRESS=10.9.9.9\r\n"
    "\r\n"
    "dualipsubnetmask=255.0.0.0\r\n"
    "URL=100.100.100.101\r\n";

class DualIpEndToEndTest : public test::PageEndToEndTest<CDualIPDlg> {
 protected:
  void Addresses(const char* address, const char* mask) {
    ASSERT_TRUE(ui.Address(CDualIPDlg::kAddressId).SetText(address));
    ASSERT_TRUE(ui.Address(CDualIPDlg::kMaskId).SetText(mask));
  }
  bool RebootOffered() const {
    return !recorder.Boxes().empty() && recorder.Boxes().back().type == kQuestionBox;
  }
};

TEST_F(DualIpEndToEndTest, AddAppendsTheKeysStoresTheRulesAndEnablesThePortFilters) {
  Addresses("192.168.1.50", "255.255.255.0");
  recorder.SetNextAnswer(IDYES);
  EXPECT_EQ(ConfigureOver("Name=zorne1\r\nURL=100.100.100.101\r\n"),
            "Name=zorne1\r\nURL=100.100.100.101\r\n"
            "DualIPAddress=192.168.1.50\r\nDualIPSubnetMask=255.255.255.0\r\n");
  EXPECT_EQ(emulator.ReadServerFile(kRules),
            "e:/azu/server/dev0/ftprulesadd.bat \"Local Area Connection\" 192.168.1.50 "
            "255.255.255.0 100.100.100.101\r\n");
  EXPECT_NE(emulator.Attributes().find("portfilters_enabled=yes"), std::string::npos)
      << emulator.Attributes();
  EXPECT_TRUE(RebootOffered());
  EXPECT_TRUE(Logged("reboot"));
}

TEST_F(DualIpEndToEndTest, AddRewritesExistingKeysAsTheyStoodWithTheDefaultMask) {
  Addresses("10.1.1.1", "255.255.255.255");
  EXPECT_EQ(ConfigureOver(kWithKeys),
            "Name=zorne1\r\n"
            "DUALIPADDRESS=10.1.1.1\r\n"
            "\r\n"
            "dualipsubnetmask=255.255.255.255\r\n"
            "URL=100.100.100.101\r\n");
  EXPECT_EQ(emulator.ReadServerFile(kRules),
            "e:/azu/server/dev0/ftprulesadd.bat \"Local Area Connection\" 10.1.1.1 "
            "255.255.255.255 100.100.100.101\r\n");
}

TEST_F(DualIpEndToEndTest, DeleteRemovesTheKeysAndTheRulesButNotTheAttribute) {
  ASSERT_TRUE(emulator.WriteServerFile(kRules, "rules\r\n"));
  ui.Click(CDualIPDlg::kDeleteId);
  EXPECT_EQ(ConfigureOver(kWithKeys), "Name=zorne1\r\n\r\nURL=100.100.100.101\r\n");
  EXPECT_EQ(emulator.ReadServerFile(kRules), std::nullopt);
  EXPECT_FALSE(Logged("attribute"));
  EXPECT_TRUE(RebootOffered());
}

TEST_F(DualIpEndToEndTest, DeleteWithoutKeysLeavesTheFileAndStillDeletesTheRules) {
  ASSERT_TRUE(emulator.WriteServerFile(kRules, "rules\r\n"));
  ui.Click(CDualIPDlg::kDeleteId);
  const std::string untouched = "Name=zorne1\nURL=100.100.100.101";  // LF, no last line end
  EXPECT_EQ(ConfigureOver(untouched), untouched);
  EXPECT_FALSE(Logged("put"));
  EXPECT_TRUE(Logged("delete"));
  EXPECT_EQ(emulator.ReadServerFile(kRules), std::nullopt);
  EXPECT_TRUE(RebootOffered());
}

TEST_F(DualIpEndToEndTest, FailingDeleteOffersNoRebootAfterTheKeysAreRemoved) {
  ui.Click(CDualIPDlg::kDeleteId);  // no rules file on the server
  EXPECT_EQ(ConfigureOver(kWithKeys), "Name=zorne1\r\n\r\nURL=100.100.100.101\r\n");
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Unable to delete IP: delete (" + std::to_string(VIREO_E_NOT_FOUND) + ")");
  EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  EXPECT_FALSE(Logged("reboot"));
  EXPECT_TRUE(Logged("disconnect"));
}

}  // namespace
}  // namespace azu
