// The transaction engine against a library that fails at each step: the message of each step,
// the session closed, and no file of ours left in the temporary folder.

#include "server/transaction.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/text_table.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "server/configure.h"
#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

constexpr const char* kConfig = "/not-scsi0/dev0/maj_0.cfg";

class TransactionTest : public testing::Test {
 protected:
  void SetUp() override {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    library.files[kConfig] = "URL=100.100.100.101\nsnmp.version=3\n";
  }

  static PageChange SnmpChange() {
    PageChange change;
    change.kind = PageChange::Kind::Rewrite;
    change.serverPath = kConfig;
    change.keys = {{"snmp.version", "1"}, {"snmp.username", std::nullopt}};
    change.messagePrefix = "M_SNMP_";
    return change;
  }
  static PageChange AdminChange() {
    PageChange change;
    change.kind = PageChange::Kind::Replace;
    change.serverPath = "/not-scsi0/config_files/engineInfo";
    change.lines = {"new password"};
    change.messagePrefix = "M_ADMIN_";
    return change;
  }
  void ExpectOneError(const std::string& text) {
    ASSERT_EQ(recorder.Boxes().size(), 1U);
    EXPECT_EQ(recorder.Boxes()[0].text, text);
    EXPECT_EQ(recorder.Boxes()[0].type, kErrorBox);
  }
  void ExpectCleanedUp() {
    EXPECT_TRUE(folder.Files().empty());
    ASSERT_FALSE(library.calls.empty());
    EXPECT_EQ(library.calls.back(), "CloseSession");
  }

  test::TempFolderScope folder;
  test::FakeLibrary library;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
};

TEST_F(TransactionTest, RewriteStoresTheRewrittenFileAndLeavesNothingBehind) {
  const TransactionResult result = RunTransaction(library, 42, SnmpChange());
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.status, VIREO_OK);
  EXPECT_EQ(library.files[kConfig], "URL=100.100.100.101\r\nsnmp.version=1\r\n");
  EXPECT_TRUE(recorder.Boxes().empty());
  ExpectCleanedUp();
}

TEST_F(TransactionTest, ValueWithALineBreakIsRefusedBeforeAnythingIsOpened) {
  PageChange pasted = SnmpChange();
  pasted.keys[0].value = "pub\nURL=6.6.6.6";
  PageChange carriageReturn = AdminChange();
  carriageReturn.lines = {"first", "pass\rword"};
  for (const PageChange& change : {pasted, carriageReturn}) {
    recorder.Clear();
    library.calls.clear();
    EXPECT_FALSE(RunTransaction(library, 42, change).completed);
    ExpectOneError("A field holds a line break. Nothing was written to the Zorne server.");
    EXPECT_TRUE(library.calls.empty());
  }
  EXPECT_EQ(library.files[kConfig], "URL=100.100.100.101\nsnmp.version=3\n");
  EXPECT_TRUE(folder.Files().empty());
}

TEST_F(TransactionTest, TemporaryFilesAreOursAloneAndNamedAzu) {
  library.onGetFile = [](const std::string& localPath) {
    struct stat info {};
    ASSERT_EQ(stat(localPath.c_str(), &info), 0);
#ifndef _WIN32  // there the temporary folder's access list keeps the file ours
    EXPECT_EQ(info.st_mode & 0777, 0600U);
#endif
  };
  RunTransaction(library, 42, SnmpChange());
  ASSERT_EQ(library.localPathsSeen.size(), 2U);
  for (const std::string& path : library.localPathsSeen) {
    EXPECT_EQ(std::filesystem::path(path).parent_path(), folder.Path());
    EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("azu", 0), 0U) << path;
  }
  EXPECT_NE(library.localPathsSeen[0], library.localPathsSeen[1]);
}

TEST_F(TransactionTest, EachFailingStepShowsItsMessageWithTheStatus) {
  struct Case {
    const char* call;
    const char* message;
  };
  for (const Case& c : {Case{"OpenSession", "SNMP settings not set: openSession (7005)"},
                        Case{"GetFile", "SNMP settings not set: getFile (7005)"},
                        Case{"PutFile", "SNMP settings not set: putFile (7005)"}}) {
    SCOPED_TRACE(c.call);
    const std::string before = library.files[kConfig];
    library.failAt = {{c.call, VIREO_E_AUTH}};
    library.calls.clear();
    recorder.Clear();
    const TransactionResult result = RunTransaction(library, 42, SnmpChange());
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.status, VIREO_E_AUTH);
    ExpectOneError(c.message);
    EXPECT_EQ(library.files[kConfig], before);
    EXPECT_TRUE(folder.Files().empty());  // a partial fetched copy included
  }
}

TEST_F(TransactionTest, MissingServerFileIsAGetFileFailure) {
  library.files.clear();
  const TransactionResult result = RunTransaction(library, 42, SnmpChange());
  EXPECT_EQ(result.status, VIREO_E_NOT_FOUND);
  ExpectOneError("SNMP settings not set: getFile (7007)");
  ExpectCleanedUp();
  EXPECT_TRUE(library.files.empty());
}

TEST_F(TransactionTest, RewrittenCopyThatCannotBeCreatedTakesTheFetchedCopyWithIt) {
  std::string fetched;
  library.onGetFile = [&fetched](const std::string& localPath) {
    fetched = localPath;
    test::SetVariable("TEMP", "/nonexistent-azu-folder");
  };
  const TransactionResult result = RunTransaction(library, 42, SnmpChange());
  test::SetVariable("TEMP", folder.Path().string());
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(result.status, VIREO_OK);
#ifdef _WIN32
  ExpectOneError("SNMP settings not set: Open #2 (267)");  // ERROR_DIRECTORY
#else
  ExpectOneError("SNMP settings not set: Open #2 (2)");  // ENOENT
#endif
  EXPECT_FALSE(std::filesystem::exists(fetched));  // the server's configuration is not left
  ExpectCleanedUp();
}

TEST_F(TransactionTest, FetchedCopyThatCannotBeReadIsAnOpenFailure) {
  library.onGetFile = [](const std::string& localPath) { std::filesystem::remove(localPath); };
  const TransactionResult result = RunTransaction(library, 42, SnmpChange());
  EXPECT_EQ(result.status, VIREO_OK);
  ExpectOneError("SNMP settings not set: Open (2)");
  ExpectCleanedUp();
}

TEST_F(TransactionTest, ReplaceWritesTheLinesWithCrLf) {
  const TransactionResult result = RunTransaction(library, 42, AdminChange());
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(library.files["/not-scsi0/config_files/engineInfo"], "new password\r\n");
  ExpectCleanedUp();

  library.failAt = {{"PutFile", VIREO_E_CONFLICT}};
  RunTransaction(library, 42, AdminChange());
  ExpectOneError("Admin password not set: putFile (7009)");
  ExpectCleanedUp();
}

TEST_F(TransactionTest, StoreOnlyIfDroppedLeavesAnUntouchedFileAlone) {
  PageChange change = SnmpChange();
  change.keys = {{"DualIPAddress", std::nullopt}};
  change.storeOnlyIfDropped = true;
  bool afterStoreRan = false;
  change.afterStore = [&afterStoreRan](VIREO_FT_SESSION&) { return afterStoreRan = true; };
  EXPECT_TRUE(RunTransaction(library, 42, change).completed);
  EXPECT_TRUE(afterStoreRan);
  for (const std::string& call : library.calls) EXPECT_NE(call.rfind("PutFile", 0), 0U);
  ExpectCleanedUp();
}

TEST_F(TransactionTest, RebootOfferRebootsOnYesAndReportsAFailedReboot) {
  recorder.SetNextAnswer(IDYES);
  OfferReboot(library, 42);
  EXPECT_EQ(library.calls, std::vector<std::string>{"Reboot"});
  ASSERT_EQ(recorder.Boxes().size(), 1U);
  EXPECT_EQ(recorder.Boxes()[0].type, kQuestionBox);
  EXPECT_EQ(recorder.Boxes()[0].text,
            "Zorne needs to be rebooted for changes to take effect.\n\nReboot now?");

  library.calls.clear();
  recorder.Clear();
  recorder.SetNextAnswer(IDNO);
  OfferReboot(library, 42);
  EXPECT_TRUE(library.calls.empty());

  library.failAt = {{"Reboot", VIREO_E_SESSION_ENDED}};
  recorder.Clear();
  recorder.SetNextAnswer(IDYES);
  OfferReboot(library, 42);
  ASSERT_EQ(recorder.Boxes().size(), 2U);
  EXPECT_EQ(recorder.Boxes()[1].text, "Unable to reboot Zorne (7006)");
  EXPECT_EQ(recorder.Boxes()[1].type, kNoticeBox);
}

TEST_F(TransactionTest, KeyMismatchAtConnectShowsBothKeysAndTheFileAndStoresNothing) {
  const std::string shown = "sha256:" + std::string(64, 'b');
  const std::string pinned = "sha256:" + std::string(64, 'a');
  library.failAt = {{"Connect", VIREO_E_HOSTKEY}};
  ConfigureSteps steps;
  steps.askPassword = [] { return std::optional<std::string>("RONDEL"); };
  steps.transaction = [this](VIREO_CONNECTION c) {
    RunTransactionAndOfferReboot(library, c, AdminChange());
  };
  struct Case {
    bool known;
    std::string text;
  };
  const std::string file = "/home/andr\xC3\xA9/.config/azuqvc/known_servers";
  const std::string advice =
      "\n\nIf the server's key was changed on purpose, delete the server's line (the one holding "
      "the pinned key) from the known-servers file ";
  const std::string opening =
      "The Zorne server zorne1 showed a key other than the one pinned for it. Nothing was sent to "
      "it, not even the password: another machine may be answering in its place.\n\nKey shown: ";
  const std::string closing =
      ", or run zornectl keys forget zorne1. The next connection then pins the new key.";
  for (const Case& c : {Case{true, opening + shown + "\nKey pinned: " + pinned + advice +
                                       "/home/andr\xE9/.config/azuqvc/known_servers" + closing},
                        Case{false, opening + "?\nKey pinned: ?" + advice + "?" + closing}}) {
    library.mismatchServer = c.known ? "zorne1" : "";
    library.mismatch = {shown, pinned, file};
    library.calls.clear();
    recorder.Clear();
    RunConfigure(library, "zorne1", steps);
    ExpectOneError(c.text);
    EXPECT_EQ(library.calls, (std::vector<std::string>{"Connect zorne1", "KeyMismatch zorne1"}));
  }
  EXPECT_EQ(library.files.count("/not-scsi0/config_files/engineInfo"), 0U);
}

}  // namespace
}  // namespace azu
