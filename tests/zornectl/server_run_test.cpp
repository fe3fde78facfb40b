// One server's zornectl run over a library that records its calls: the store guarded by the
// page's own fetch, and the attribute against a library that cannot read attributes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"
#include "zornectl/run.h"

namespace azu {
namespace {

constexpr const char* kMainConfig = "/not-scsi0/dev0/maj_0.cfg";
constexpr const char* kSeed = "Name=zorne1\r\nsnmp.version=1\r\nsnmp.getcommunityname=old\r\n";

std::size_t CountOf(const std::vector<std::string>& calls, const std::string& call) {
  return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), call));
}

// Fetching the file again after the page did would move the version the library guards the
// store with past another administrator's change; the backup is made from the page's fetch.
TEST(ServerRunTest, TheStoreIsGuardedByThePagesOwnFetchAndTheBackupIsThatCopy) {
  test::TempFolderScope folder;
  test::FakeLibrary library;
  library.files[kMainConfig] = kSeed;
  ctl::Request request;
  request.page = "snmp";
  request.snmp.getCommunity = "new";
  request.zornePassword = "RONDEL";
  request.backupDir = (folder.Path() / "backup").string();

  const ctl::ServerOutcome stored = ctl::RunServer(request, library, "zorne1");
  EXPECT_TRUE(stored.done) << stored.message;
  EXPECT_TRUE(stored.changed);
  EXPECT_EQ(CountOf(library.calls, std::string("GetFile ") + kMainConfig), 1U);
  EXPECT_EQ(CountOf(library.calls, std::string("PutFile ") + kMainConfig), 1U);
  std::ifstream kept(folder.Path() / "backup" / "zorne1" / "not-scsi0" / "dev0" / "maj_0.cfg",
                     std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), kSeed);

  library.calls.clear();
  const ctl::ServerOutcome again = ctl::RunServer(request, library, "zorne1");
  EXPECT_TRUE(again.done) << again.message;
  EXPECT_FALSE(again.changed);
  EXPECT_EQ(CountOf(library.calls, std::string("PutFile ") + kMainConfig), 0U);
}

// The maker's library cannot read attributes: the attribute is set on every run, and said so.
TEST(ServerRunTest, AnAttributeThatCannotBeReadIsSetEveryTime) {
  test::TempFolderScope folder;
  test::FakeLibrary library;
  library.files[kMainConfig] = kSeed;
  library.failAt["GetAttribute"] = VIREO_E_UNSUPPORTED;
  ctl::Request request;
  request.page = "dual-ip";
  request.dualIp.address = "100.64.1.20";
  request.dualIp.mask = kDefaultDualIpMask;
  request.zornePassword = "RONDEL";
  for (int run = 0; run < 2; ++run) {
    library.calls.clear();
    const ctl::ServerOutcome outcome = ctl::RunServer(request, library, "zorne1");
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(CountOf(library.calls, "SetAttribute portfilters_enabled=yes"), 1U);
    EXPECT_EQ(CountOf(library.calls, std::string("PutFile ") + kMainConfig), run == 0 ? 1U : 0U);
  }
}

}  // namespace
}  // namespace azu
