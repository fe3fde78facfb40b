// zornectl keys: the pinned servers listed, and one pin forgotten as ssh-keygen -R does, on a
// known-servers file of the test's own.

#include "zornectl/keys.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

namespace azu::ctl {
namespace {

const std::string kKeyA = "sha256:" + std::string(64, 'a');
const std::string kKeyB = "sha256:" + std::string(32, '0') + std::string(32, '9');

std::string Read(const std::filesystem::path& file) {
  return test::FileBytes(file);
}

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunOn(KeysCommand command, const std::filesystem::path& file) {
  command.file = file;
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunKeys(command, out, err);
  return {status, out.str(), err.str()};
}

constexpr const char* kForgotten =
    " forgotten from FILE; the next connection pins the key the server shows\n";

KeysCommand List(bool json = false) {
  KeysCommand command;
  command.json = json;
  return command;
}

KeysCommand Forget(const char* server) {
  KeysCommand command;
  command.action = KeysCommand::Action::Forget;
  command.server = server;
  return command;
}

TEST(ZornectlKeys, ListsThePinsAndForgetsOneServersLinesOnly) {
  // A comment, a line it cannot read, a server pinned twice (the first line counts) and a name
  // written in capitals by hand.
  const std::string pins = "# lab\nzorne1:9631 " + kKeyA + "\nzorne2:9631 sha256:AB\n" +
                           "Lab-Zorne:9700\t" + kKeyB + "\nzorne1:9631 " + kKeyB + "\n";
  const std::string withoutZorne1 = "# lab\nzorne2:9631 sha256:AB\nLab-Zorne:9700\t" + kKeyB + "\n";
  struct Case {
    const char* what;
    std::optional<std::string> file;  // nullopt: none yet
    KeysCommand command;
    Outcome expected;
    std::optional<std::string> after;  // nullopt: as before
  };
  const Case cases[] = {
      {"list",
       pins,
       List(),
       {0, "zorne1:9631  " + kKeyA + "\nlab-zorne:9700  " + kKeyB + "\n", ""},
       {}},
      {"list as JSON",
       pins,
       List(true),
       {0,
        R"({"server":"zorne1:9631","fingerprint":")" + kKeyA + "\"}\n" +
            R"({"server":"lab-zorne:9700","fingerprint":")" + kKeyB + "\"}\n",
        ""},
       {}},
      {"list without a file", {}, List(), {0, "", ""}, {}},
      {"forget with the default port",
       pins,
       Forget("ZORNE1"),
       {0, "zorne1:9631: key " + kKeyA + kForgotten, ""},
       withoutZorne1},
      {"forget with a port",
       pins,
       Forget("lab-zorne:9700"),
       {0, "lab-zorne:9700: key " + kKeyB + kForgotten, ""},
       "# lab\nzorne1:9631 " + kKeyA + "\nzorne2:9631 sha256:AB\nzorne1:9631 " + kKeyB + "\n"},
      {"forget a server without a pin",
       pins,
       Forget("zorne1:9700"),
       {1, "", "zornectl: zorne1:9700 has no pinned key in FILE\n"},
       {}},
      {"forget without a file",
       {},
       Forget("zorne1"),
       {1, "", "zornectl: zorne1:9631 has no pinned key in FILE\n"},
       {}},
      {"forget what is no server",
       pins,
       Forget("zorne 1"),
       {2, "", "zornectl: zorne 1: not a server name or address\n"},
       {}},
  };
  for (const Case& c : cases) {
    const test::TempFolderScope folder;
    const auto file = folder.Path() / "known_servers";
    if (c.file) std::ofstream(file, std::ios::binary) << *c.file;
    const Outcome got = RunOn(c.command, file);
    EXPECT_EQ(got.status, c.expected.status) << c.what;
    const auto named = [&file](std::string text) {
      if (const auto at = text.find("FILE"); at != std::string::npos) {
        text.replace(at, 4, file.string());
      }
      return text;
    };
    EXPECT_EQ(got.out, named(c.expected.out)) << c.what;
    EXPECT_EQ(got.err, named(c.expected.err)) << c.what;
    if (c.file) {
      EXPECT_EQ(Read(file), c.after.value_or(*c.file)) << c.what;
    }
    if (c.after) {
      struct stat info {};
      ASSERT_EQ(::stat(file.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777U, 0600U) << c.what;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}),
              c.file ? 1 : 0)
        << c.what;  // nothing left beside it
  }
}

TEST(ZornectlKeys, ForgetRefusesALinkAndListRefusesWhatIsNoFile) {
  const test::TempFolderScope folder;
  const auto target = folder.Path() / "elsewhere";
  const std::string pins = "zorne1:9631 " + kKeyA + "\n";
  std::ofstream(target, std::ios::binary) << pins;
  const auto link = folder.Path() / "linked";
  std::filesystem::create_symlink(target, link);

  const Outcome forgot = RunOn(Forget("zorne1"), link);
  EXPECT_EQ(forgot.status, 1);
  EXPECT_NE(forgot.err.find("cannot be rewritten"), std::string::npos) << forgot.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Read(target), pins);
  // Connections read through a link; so does the list.
  EXPECT_EQ(RunOn(List(), link).out, "zorne1:9631  " + kKeyA + "\n");

  const Outcome listed = RunOn(List(), folder.Path());
  EXPECT_EQ(listed.status, 1);
  EXPECT_NE(listed.err.find("cannot be read"), std::string::npos) << listed.err;
}

}  // namespace
}  // namespace azu::ctl
