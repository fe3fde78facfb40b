// zornectl end to end against emulators on loopback: a second run that changes nothing, the dry
// run's masked diff that stores nothing, the backup, servers failing beside servers that work, the
// password sources and the usage errors.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/support/running_emulator.h"
#include "tests/support/temp_folder.h"
#include "tests/zornectl/zornectl_process.h"

namespace azu {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMainConfig = "/not-scsi0/dev0/maj_0.cfg";
constexpr const char* kSeed = "Name=zorne1\r\nsnmp.version=1\r\nsnmp.getcommunityname=old\r\n";
const std::map<std::string, std::optional<std::string>> kPassword = {{"ZORNE_PASSWORD", "RONDEL"},
                                                                     {"LC_ALL", "C"}};

bool Stored(const test::RunningEmulator& emulator) {
  const auto events = emulator.Events();
  return std::find(events.begin(), events.end(), "put") != events.end();
}

class ZornectlTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const test::RunningEmulator* emulator : {&first, &second}) {
      ASSERT_TRUE(emulator->Started()) << emulator->Error();
      ASSERT_TRUE(emulator->WriteServerFile(kMainConfig, kSeed));
    }
  }
  test::TempFolderScope folder;
  test::RunningEmulator first;
  test::RunningEmulator second;
};

TEST_F(ZornectlTest, ADryRunShowsTheMaskedDiffAndStoresNothing) {
  const fs::path servers = folder.Path() / "servers";
  std::ofstream(servers) << "# the second site\n\n  " << second.Address() << "  # zorne2\n";
  const auto run = test::RunZornectl({"snmp", "--get-community", "new", "--dry-run",
                                      first.Address(), "--servers-file", servers.string()},
                                     kPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  for (const test::RunningEmulator* emulator : {&first, &second}) {
    EXPECT_NE(run.out.find("--- " + emulator->Address() + ":" + kMainConfig), std::string::npos);
    EXPECT_FALSE(Stored(*emulator));
    EXPECT_EQ(emulator->ReadServerFile(kMainConfig), kSeed);
  }
  EXPECT_NE(run.out.find("-snmp.getcommunityname=********\n+snmp.getcommunityname=********\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("new"), std::string::npos) << "a community leaked: " << run.out;
  EXPECT_NE(run.out.find("would change 1 file(s)"), std::string::npos) << run.out;
}

// Every page twice with the same values: the first run changes the server, the second finds it
// holds everything already and touches nothing, reboot included.
TEST_F(ZornectlTest, ASecondRunWithTheSameValuesChangesNothing) {
  const std::string secret = test::SecretFile(folder.Path(), "secret", "s3cret\n");
  const std::vector<std::vector<std::string>> pages = {
      {"admin", "--new-password-file", secret},
      {"accounting", "--system", "standard", "--type", "general", "--account-id", "12"},
      {"tallyon", "--user-id", "audit", "--passcode-file", secret},
      {"ftp", "--host", "ftp.example.org", "--user", "scans", "--ftp-password-file", secret},
      {"http", "--http-port", "8080"},
      {"snmp", "--get-community", "new"},
      {"dual-ip", "--address", "100.64.1.20"},
      {"dual-ip", "--delete"},
  };
  const auto changes = [&] {
    std::size_t count = 0;
    for (const std::string& event : first.Events()) {
      count += event == "put" || event == "delete" || event == "attribute" || event == "reboot";
    }
    return count;
  };
  for (const auto& page : pages) {
    SCOPED_TRACE(page[0] + " " + page[1]);
    std::vector<std::string> arguments = page;
    arguments.insert(arguments.end(), {"--json", "--reboot", "yes", first.Address()});
    const auto once = test::RunZornectl(arguments, kPassword);
    ASSERT_EQ(once.status, 0) << once.err << once.out;
    EXPECT_EQ(nlohmann::json::parse(once.out)["changed"], true) << once.out;
    const std::size_t before = changes();
    EXPECT_GT(before, 0U);
    const auto again = test::RunZornectl(arguments, kPassword);
    ASSERT_EQ(again.status, 0) << again.err << again.out;
    const auto outcome = nlohmann::json::parse(again.out);
    EXPECT_EQ(outcome["changed"], false) << again.out;
    EXPECT_EQ(outcome["diff"], "");
    EXPECT_EQ(changes(), before) << first.EventsLog();
  }
  EXPECT_EQ(first.ReadServerFile("/not-scsi0/net/oemnetshrules.bat"), std::nullopt);
}

// show reads back what the pages stored, in their options' own values: given back to each page
// command (secrets through their files), nothing changes. The read itself only connects and gets.
TEST_F(ZornectlTest, ShowPrintsWhatThePagesStoredAndGivenBackChangesNothing) {
  const std::string secret = test::SecretFile(folder.Path(), "secret", "s3cret\n");
  for (const std::vector<std::string>& page : std::vector<std::vector<std::string>>{
           {"accounting", "--system", "standard", "--type", "general", "--account-id", "12"},
           {"tallyon", "--user-id", "audit", "--passcode-file", secret},
           {"ftp", "--host", "ftp.example.org", "--user", "scans", "--ftp-password-file", secret},
           {"http", "--http-port", "8080"},
           {"snmp", "--version", "3", "--auth-password-file", secret},
           {"dual-ip", "--address", "100.64.1.20", "--mask", "255.255.0.0"}}) {
    std::vector<std::string> arguments = page;
    arguments.push_back(first.Address());
    ASSERT_EQ(test::RunZornectl(arguments, kPassword).status, 0) << page[0];
  }
  const std::size_t eventsBefore = first.Events().size();
  const auto shown = test::RunZornectl({"show", "--json", "--reveal", first.Address()}, kPassword);
  ASSERT_EQ(shown.status, 0) << shown.err << shown.out;
  const std::vector<std::string> events = first.Events();
  for (std::size_t at = eventsBefore; at < events.size(); ++at) {
    EXPECT_TRUE(events[at] == "connect" || events[at] == "get" || events[at] == "disconnect")
        << events[at];
  }
  const auto read = nlohmann::json::parse(shown.out);
  EXPECT_EQ(read["pages"]["snmp"]["values"]["auth-password"], "s3cret");
  EXPECT_EQ(read["pages"]["dual-ip"]["values"]["state"], "present");
  for (const auto& [page, reading] : read["pages"].items()) {
    if (page == "admin") continue;  // never stored here: nothing to give back
    SCOPED_TRACE(page);
    EXPECT_EQ(reading["notes"].size(), 0U) << reading.dump();
    std::vector<std::string> arguments = {page, "--json", first.Address()};
    for (const auto& [option, value] : reading["values"].items()) {
      if (value.is_null() || option == "state" || option == "portfilters-enabled") continue;
      const std::string text = value.get<std::string>();
      const bool secret = option.find("password") != std::string::npos || option == "passcode";
      arguments.push_back("--" + option + (secret ? "-file" : "") + "=" +
                          (secret ? test::SecretFile(folder.Path(), option, text) : text));
    }
    const auto again = test::RunZornectl(arguments, kPassword);
    ASSERT_EQ(again.status, 0) << again.err << again.out;
    EXPECT_EQ(nlohmann::json::parse(again.out)["changed"], false) << again.out;
  }
}

TEST_F(ZornectlTest, BackupKeepsThePreviousFileBeforeItIsReplaced) {
  const fs::path backup = folder.Path() / "backup";
  ASSERT_TRUE(first.WriteServerFile("/not-scsi0/config_files/engineHTTP", "HTTP=80\r\n"));
  const auto run = test::RunZornectl(
      {"http", "--http-port", "8080", "--backup", backup.string(), first.Address()}, kPassword);
  EXPECT_EQ(run.status, 0) << run.err;
  const fs::path kept = backup / first.Address() / "not-scsi0" / "config_files" / "engineHTTP";
  std::ifstream in(kept, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "HTTP=80\r\n") << run.out;
  EXPECT_EQ(fs::status(backup / first.Address()).permissions(), fs::perms::owner_all);
  EXPECT_EQ(first.ReadServerFile("/not-scsi0/config_files/engineHTTP"),
            "HTTP=8080\r\nHTTPS=443\r\n");
}

// One server stopped, one with another password, one that works: the one is stored, the others
// reported with their reasons, status 1; JSON for other tools.
TEST_F(ZornectlTest, EveryServerIsIndependentAndReportedWithItsReason) {
  test::EmulatorOptions otherPassword;
  otherPassword.password = "OTHER";
  test::RunningEmulator third(otherPassword);
  ASSERT_TRUE(third.Started());
  ASSERT_TRUE(third.WriteServerFile(kMainConfig, kSeed));
  const std::string stopped = second.Address();
  second.Stop();
  const auto run = test::RunZornectl({"snmp", "--get-community", "new", "--json", "--parallel", "3",
                                      first.Address(), stopped, third.Address()},
                                     kPassword);
  EXPECT_EQ(run.status, 1) << run.err;
  std::vector<nlohmann::json> lines;
  std::istringstream out(run.out);
  for (std::string line; std::getline(out, line);) lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(lines.size(), 3U) << run.out;
  EXPECT_EQ(lines[0]["outcome"], "done");
  EXPECT_EQ(lines[0]["changed"], true);
  EXPECT_EQ(lines[0]["page"], "snmp");
  const char* reasons[] = {"", "(the server cannot be reached)",
                           "(the server refused the password)"};
  for (const std::size_t failed : {1U, 2U}) {
    EXPECT_EQ(lines[failed]["outcome"], "failed");
    EXPECT_EQ(lines[failed]["message"],
              "Zorne Administrator password incorrect or server unavailable " +
                  std::string(reasons[failed]));
  }
  EXPECT_EQ(lines[1]["status"], 7004) << run.out;
  EXPECT_EQ(lines[2]["status"], 7005);
  EXPECT_TRUE(Stored(first));
  EXPECT_FALSE(Stored(third));
}

TEST_F(ZornectlTest, ThePasswordComesFromAnOwnerOnlyFileOrTheEnvironmentNeverAnArgument) {
  const std::string good = test::SecretFile(folder.Path(), "password", "RONDEL\n");
  const std::string shared = test::SecretFile(folder.Path(), "shared", "RONDEL\n");
  fs::permissions(shared, fs::perms::group_read, fs::perm_options::add);
  const std::map<std::string, std::optional<std::string>> none = {{"ZORNE_PASSWORD", std::nullopt},
                                                                  {"LC_ALL", "C"}};
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    std::map<std::string, std::optional<std::string>> environment;
    int status;
    const char* says;
  } cases[] = {
      {"file", {"--zorne-password-file", good}, none, 0, ""},
      {"environment", {}, kPassword, 0, ""},
      {"file readable by others", {"--zorne-password-file", shared}, none, 2, "readable by others"},
      {"none at all", {}, none, 2, "no Zorne password"},
      {"as an argument", {"--zorne-password", "RONDEL"}, none, 2, "use --zorne-password-file"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"http", "--http-port", "81"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    arguments.push_back(first.Address());
    const auto run = test::RunZornectl(arguments, c.environment);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << c.name << ": " << run.err;
  }
}

TEST_F(ZornectlTest, UsageErrorsNameTheOptionAndReachNoServer) {
  const struct {
    std::vector<std::string> arguments;
    const char* says;
  } cases[] = {
      {{"snmp", "--bogus"}, "--bogus"},
      {{"snmp", "--version", "2"}, "--version"},
      {{"dual-ip", "--delete", "--address", "10.0.0.1"}, "--address"},
      {{"dual-ip", "--address", "10.0.0.300"}, "--address"},
      {{"dual-ip"}, "--address"},
      {{"ftp", "--host", "a\nb", "--user", "u"}, "--host"},
      {{"http", "--https-port", "70000"}, "--https-port"},
      {{"tallyon", "--passcode", "1234"}, "--passcode-file"},
      // The page's own checks, with the page's texts.
      {{"http", "--http-port", "443"}, "same"},
      {{"ftp", "--user", "u"}, "Server"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.push_back(first.Address());
    const auto run = test::RunZornectl(arguments, kPassword);
    EXPECT_EQ(run.status, 2) << c.says << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  }
  EXPECT_EQ(test::RunZornectl({"snmp"}, kPassword).status, 2);  // no server
  EXPECT_EQ(first.Events(), std::vector<std::string>{});
  const auto help = test::RunZornectl({"dual-ip", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--servers-file"), std::string::npos);
}

// Discovery asks only the emulator's own loopback address.
TEST_F(ZornectlTest, DiscoverListsTheServersASearchFinds) {
  const auto run = test::RunZornectl(
      {"discover", "--json"},
      {{"VIREO_DISCOVERY_TARGETS", first.Host()}, {"VIREO_PORT", std::to_string(first.Port())}});
  EXPECT_EQ(run.status, 0) << run.err;
  const auto server = nlohmann::json::parse(run.out.substr(0, run.out.find('\n')));
  EXPECT_EQ(server["address"], first.Host());
  EXPECT_EQ(server["name"], "test-zorne");
  EXPECT_EQ(server["model"], "QV5010");
  EXPECT_EQ(server["series"], "QV5000");
}

}  // namespace
}  // namespace azu
