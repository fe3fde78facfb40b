// zornectl show's reading as the inverse of the pages' rules: values stored through a page's own
// plan read back as the same values (one table, every page), files no page could have written
// read with a note, and the read touching nothing on the server.

#include "zornectl/show.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "rules/accounting_rules.h"
#include "rules/admin_rules.h"
#include "rules/dual_ip_rules.h"
#include "rules/ftp_rules.h"
#include "rules/http_rules.h"
#include "rules/snmp_rules.h"
#include "rules/tallyon_rules.h"
#include "tests/support/fake_library.h"

namespace azu::ctl {
namespace {

using Values = std::map<std::string, std::optional<std::string>>;
constexpr const char* kMain = "/not-scsi0/dev0/maj_0.cfg";

class ShowTest : public testing::Test {
 protected:
  ShowTest() {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    library.files[kMain] = "Name=zorne\r\nURL=100.100.100.101\r\nSNMP=1\r\n";
  }
  void Store(const std::optional<PagePlan>& plan) {
    ASSERT_TRUE(plan);
    ASSERT_TRUE(RunPagePlan(library, 42, *plan, RebootOffer::Never)) << recorder.Boxes().size();
  }
  ShowOutcome Show() {
    library.calls.clear();
    ShowRequest request;
    request.zornePassword = "RONDEL";
    return ShowServer(request, library, "zorne1");
  }
  static Values ValuesOf(const ShowOutcome& outcome, const std::string& page) {
    Values values;
    for (const PageShown& shown : outcome.pages) {
      if (shown.page != page) continue;
      for (const ReadValue& value : shown.reading.values) values[value.option] = value.value;
    }
    return values;
  }
  static std::vector<std::string> NotesOf(const ShowOutcome& outcome, const std::string& page) {
    for (const PageShown& shown : outcome.pages) {
      if (shown.page == page) return shown.reading.notes;
    }
    return {};
  }

  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
};

AccountingFields Accounting(int system, int type, std::string account, std::string user) {
  AccountingFields fields{system, GetText(kAccountingSystemKeys[static_cast<std::size_t>(system)]),
                          GetText(kAccountTypeKeys[static_cast<std::size_t>(type)]),
                          std::move(account), std::move(user)};
  return fields;
}

TEST_F(ShowTest, WhatAPageStoresReadsBackAsTheValuesThatStoredIt) {
  const std::nullopt_t unset = std::nullopt;
  struct Case {
    const char* page;
    std::function<std::optional<PagePlan>(ServerLibrary&)> plan;
    Values expected;
  };
  const std::vector<Case> cases = {
      {"http",
       [](auto&) {
         return HttpPlan({8080, 8443});
       },
       {{"http-port", "8080"}, {"https-port", "8443"}}},
      {"snmp",
       [](auto&) {
         return SnmpPlan({kSnmpVersion1, "pub", "priv", "", ""});
       },
       {{"version", "1"},
        {"get-community", "pub"},
        {"set-community", "priv"},
        {"auth-password", unset},
        {"priv-password", unset}}},
      {"snmp",
       [](auto&) {
         return SnmpPlan({kSnmpVersion3, "", "", "a1", ""});
       },
       {{"version", "3"},
        {"get-community", unset},
        {"set-community", unset},
        {"auth-password", "a1"},
        {"priv-password", ""}}},
      {"accounting",
       [](auto&) { return AccountingPlan(Accounting(0, 1, "7", "bob")); },
       {{"system", "none"}, {"type", unset}, {"account-id", unset}, {"user-id", unset}}},
      {"accounting",
       [](auto&) { return AccountingPlan(Accounting(1, 1, "42", "bob")); },
       {{"system", "standard"}, {"type", "general"}, {"account-id", "42"}, {"user-id", "bob"}}},
      {"accounting",
       [](auto&) { return AccountingPlan(Accounting(1, 0, "42", "")); },
       {{"system", "standard"}, {"type", "default"}, {"account-id", unset}, {"user-id", unset}}},
      {"accounting",
       [](auto&) { return AccountingPlan(Accounting(2, 2, "x9", "eve")); },
       {{"system", "network"}, {"type", unset}, {"account-id", "x9"}, {"user-id", "eve"}}},
      {"tallyon",
       [](auto&) {
         return TallyonPlan({"audit", "p4ss"});
       },
       {{"user-id", "audit"}, {"passcode", "p4ss"}}},
      {"ftp",
       [](auto&) {
         return FtpPlan({"ftp.example.org", "scans", "pw", "in/box"});
       },
       {{"host", "ftp.example.org"},
        {"user", "scans"},
        {"ftp-password", "pw"},
        {"destination", "in/box"}}},
      {"ftp",
       [](auto&) {
         return FtpPlan({"h", "u", "", ""});
       },
       {{"host", "h"}, {"user", "u"}, {"ftp-password", unset}, {"destination", unset}}},
      {"admin", [](auto&) { return AdminPlan({"n3w"}); }, {{"new-password", "n3w"}}},
      {"dual-ip",
       [](ServerLibrary& library) {
         return DualIpPlan({kDualIpAdd, "10.1.2.3", "255.255.0.0"}, library);
       },
       {{"state", "present"},
        {"address", "10.1.2.3"},
        {"mask", "255.255.0.0"},
        {"portfilters-enabled", "yes"}}},
      {"dual-ip",
       [](ServerLibrary& library) {
         return DualIpPlan({kDualIpDelete, "", ""}, library);
       },
       {{"state", "absent"}, {"address", unset}, {"mask", unset}, {"portfilters-enabled", "yes"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    Store(c.plan(library));
    const ShowOutcome outcome = Show();
    ASSERT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(ValuesOf(outcome, c.page), c.expected);
    EXPECT_EQ(NotesOf(outcome, c.page), std::vector<std::string>{});
    // Read-only: gets and an attribute read, nothing else.
    for (const std::string& call : library.calls) {
      for (const char* write : {"PutFile", "Delete", "SetAttribute", "Reboot", "Restart"}) {
        EXPECT_EQ(call.find(write), std::string::npos) << call;
      }
    }
  }
  // Missing files are not set, not a failure; a never used page shows no note.
  const ShowOutcome outcome = Show();
  EXPECT_EQ(ValuesOf(outcome, "tallyon"), (Values{{"user-id", "audit"}, {"passcode", "p4ss"}}));
}

TEST_F(ShowTest, AFileNoPageCouldHaveWrittenIsShownAsItStandsWithANote) {
  struct Case {
    const char* page;
    const char* path;
    const char* content;
    Values expected;
    const char* note;
  };
  const std::vector<Case> cases = {
      {"http",
       "/not-scsi0/config_files/engineHTTP",
       "HTTP=80\r\nHTTPS=https\r\nKeepAlive=1\r\n",
       {{"http-port", "80"}, {"https-port", "https"}},
       "line 3 is not one the page writes: KeepAlive=1"},
      {"snmp",
       kMain,
       "snmp.version=1\r\nsnmp.getcommunityname=a\r\nsnmp.getcommunityname=b\r\n",
       {{"version", "1"},
        {"get-community", "a"},
        {"set-community", std::nullopt},
        {"auth-password", std::nullopt},
        {"priv-password", std::nullopt}},
       "snmp.getcommunityname appears 2 times; the first is shown"},
      {"accounting",
       kMain,
       "accounting.accountingsystem=Cards\r\n",
       {{"system", "Cards"},
        {"type", std::nullopt},
        {"account-id", std::nullopt},
        {"user-id", std::nullopt}},
       "accounting.accountingsystem=Cards is no value the page writes"},
      {"dual-ip",
       kMain,
       "DualIPAddress=10.0.0.5\r\nDualIPSubnetMask=255.0.0.0\r\n",
       {{"state", "incomplete"},
        {"address", "10.0.0.5"},
        {"mask", "255.0.0.0"},
        {"portfilters-enabled", std::nullopt}},
       "the rules file /not-scsi0/net/oemnetshrules.bat is missing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    library.files = {{c.path, c.content}};
    const ShowOutcome outcome = Show();
    ASSERT_TRUE(outcome.done);
    EXPECT_EQ(ValuesOf(outcome, c.page), c.expected);
    const auto notes = NotesOf(outcome, c.page);
    EXPECT_NE(std::find(notes.begin(), notes.end(), c.note), notes.end()) << notes.size();
  }
}

TEST_F(ShowTest, SecretsAreSetOrNotSetUnlessRevealedAndAFailedServerSaysWhy) {
  Store(SnmpPlan({kSnmpVersion1, "pub", "", "", ""}));
  library.files["/not-scsi0/azuqvc.log"] =
      "PrinterIP=100.100.100.101\r\nPrinterMAC=02:a2:00:00:00:01\r\nMACAddresses:1\r\n"
      "100.100.100.102 100.100.100.101 02:a2:00:00:00:01\r\n";
  const std::vector<ShowOutcome> outcomes = {Show()};
  const std::string masked = ShowBlocks(outcomes, false);
  EXPECT_NE(masked.find("get-community=(set) set-community=\"\""), std::string::npos) << masked;
  EXPECT_EQ(masked.find("pub"), std::string::npos) << masked;
  EXPECT_NE(masked.find("mode=direct connection address=100.100.100.101"), std::string::npos);
  EXPECT_NE(masked.find("      100.100.100.102 100.100.100.101 02:a2:00:00:00:01\n"),
            std::string::npos)
      << masked;
  const std::string json = ShowJsonLines(outcomes, false);
  EXPECT_NE(json.find("\"get-community\":true"), std::string::npos) << json;
  EXPECT_EQ(json.find("pub"), std::string::npos);
  EXPECT_NE(ShowJsonLines(outcomes, true).find("\"get-community\":\"pub\""), std::string::npos);

  library.failAt["Connect"] = VIREO_E_UNREACHABLE;
  const ShowOutcome failed = Show();
  EXPECT_FALSE(failed.done);
  EXPECT_EQ(failed.status, VIREO_E_UNREACHABLE);
  EXPECT_NE(failed.message.find("(the server cannot be reached)"), std::string::npos)
      << failed.message;
}

}  // namespace
}  // namespace azu::ctl
