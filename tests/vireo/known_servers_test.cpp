// The known-servers file: where it lives, pins read and written through the file, and the key
// mismatches the window asks for through the C interface.

#include "vireo/known_servers.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>
#include <fstream>
#include <ranges>
#include <sstream>
#include <string>
#include <vector>

#include "server/vireo.h"
#include "tests/support/environment.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

namespace azu::vireo {
namespace {

const std::string kKeyA = "sha256:" + std::string(64, 'a');
const std::string kKeyB = "sha256:" + std::string(32, '0') + std::string(32, '9');

std::string Read(const std::filesystem::path& file) {
  return test::FileBytes(file);
}

void Write(const std::filesystem::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

// Owner-only on POSIX; on Windows a folder's access is inherited, not set by mode.
void ExpectMode([[maybe_unused]] const std::filesystem::path& path,
                [[maybe_unused]] unsigned mode) {
#ifndef _WIN32
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  EXPECT_EQ(info.st_mode & 0777U, mode) << path;
#endif
}

// Sets or clears environment variables for one test, and puts them back.
class EnvironmentScope {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old != nullptr, old != nullptr ? old : ""});
    if (value != nullptr && *value != '\0') {
      test::SetVariable(name, value);
    } else {
      test::UnsetVariable(name);
    }
  }
  ~EnvironmentScope() {
    for (const Saved& saved : std::views::reverse(saved_)) {
      if (saved.had) {
        test::SetVariable(saved.name.c_str(), saved.value);
      } else {
        test::UnsetVariable(saved.name.c_str());
      }
    }
  }
  EnvironmentScope() = default;
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;
  EnvironmentScope(EnvironmentScope&&) = delete;
  EnvironmentScope& operator=(EnvironmentScope&&) = delete;

 private:
  struct Saved {
    std::string name;
    bool had = false;
    std::string value;
  };
  std::vector<Saved> saved_;
};

#ifdef _WIN32
TEST(VireoKnownServers, DefaultFileFollowsTheSettingThenAppData) {
  struct Case {
    const char* setting;
    const char* app_data;
    const char* file;
  };
  const Case cases[] = {
      {"C:\\pins", "C:\\Users\\u\\AppData\\Roaming", "C:\\pins"},
      {nullptr, "C:\\Users\\u\\AppData\\Roaming",
       "C:\\Users\\u\\AppData\\Roaming\\azuqvc\\known_servers"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    EnvironmentScope environment;
    environment.Set("VIREO_KNOWN_SERVERS", c.setting);
    environment.Set("APPDATA", c.app_data);
    EXPECT_EQ(DefaultKnownServersFile(), std::filesystem::path(c.file));
  }
}
#else
TEST(VireoKnownServers, DefaultFileFollowsTheSettingThenXdgThenHome) {
  struct Case {
    const char* setting;
    const char* xdg;
    const char* home;
    const char* file;
  };
  const Case cases[] = {
      {"/etc/pins", "/xdg", "/home/u", "/etc/pins"},
      {"", "/xdg", "/home/u", "/xdg/azuqvc/known_servers"},
      {nullptr, "relative/xdg", "/home/u", "/home/u/.config/azuqvc/known_servers"},
      {nullptr, "", "/home/u", "/home/u/.config/azuqvc/known_servers"},
      {nullptr, nullptr, nullptr, ""},
      {nullptr, nullptr, "", ""},
  };
  for (const Case& c : cases) {
    EnvironmentScope environment;
    environment.Set("VIREO_KNOWN_SERVERS", c.setting);
    environment.Set("XDG_CONFIG_HOME", c.xdg);
    environment.Set("HOME", c.home);
    EXPECT_EQ(DefaultKnownServersFile(), std::filesystem::path(c.file))
        << (c.setting ? c.setting : "-") << " " << (c.xdg ? c.xdg : "-");
  }
}
#endif

TEST(VireoKnownServers, PinMakesPrivateFolderAndFileAndReplacesOnlyThatServer) {
  const test::TempFolderScope folder;
  const auto file = folder.Path() / "config" / "azuqvc" / "known_servers";
  const KnownServers known(file);
  EXPECT_EQ(known.Pinned("127.0.0.1:9631"), std::nullopt);  // no file yet

  ASSERT_TRUE(known.Pin("127.0.0.1:9631", kKeyA));
  ExpectMode(file.parent_path(), 0700U);
  ExpectMode(folder.Path() / "config", 0700U);
  ExpectMode(file, 0600U);
  EXPECT_EQ(Read(file), "127.0.0.1:9631 " + kKeyA + "\n");

  // What a person may have put in by hand stays; only the server's own line changes.
  Write(file, "# lab servers\n127.0.0.1:9631 " + kKeyA + "\nzorne2:9631 sha256:AB\n\nzorne3\n" +
                  "Lab-Zorne:9631\t" + kKeyA);
  ASSERT_TRUE(known.Pin("127.0.0.1:9631", kKeyB));
  ASSERT_TRUE(known.Pin("lab-zorne:9631", kKeyB));
  ASSERT_TRUE(known.Pin("10.0.0.5:9700", kKeyA));
  EXPECT_EQ(Read(file), "# lab servers\n127.0.0.1:9631 " + kKeyB +
                            "\nzorne2:9631 sha256:AB\n\nzorne3\nlab-zorne:9631 " + kKeyB +
                            "\n10.0.0.5:9700 " + kKeyA + "\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);

  const std::pair<const char*, std::optional<std::string>> lookups[] = {
      {"127.0.0.1:9631", kKeyB},
      {"LAB-ZORNE:9631", kKeyB},
      {"10.0.0.5:9700", kKeyA},
      {"10.0.0.5:9631", {}},
      {"zorne2:9631", {}} /* bad key */,
      {"# lab", {}},
      {"zorne3", {}},
      {"", {}},
  };
  for (const auto& [server, pinned] : lookups) {
    EXPECT_EQ(known.Pinned(server), pinned) << server;
  }
}

TEST(VireoKnownServers, PinRefusesLinksOtherFilesAndMalformedPins) {
  const test::TempFolderScope folder;
  const auto target = folder.Path() / "elsewhere";
  Write(target, "keep\n");
#ifndef _WIN32
  const auto link = folder.Path() / "linked";
  std::filesystem::create_symlink(target, link);
  EXPECT_FALSE(KnownServers(link).Pin("zorne1:9631", kKeyA));
#endif
  const auto directory = folder.Path() / "directory";
  std::filesystem::create_directory(directory);

  EXPECT_FALSE(KnownServers(directory).Pin("zorne1:9631", kKeyA));
  EXPECT_FALSE(KnownServers("").Pin("zorne1:9631", kKeyA));
  const KnownServers known(folder.Path() / "known_servers");
  for (const char* key : {"", "sha256:", "sha1:abcd", "sha256:ABCDEF"}) {
    EXPECT_FALSE(known.Pin("zorne1:9631", key)) << key;
  }
  for (const char* server : {"", "zorne 1:9631", "#zorne1:9631", "zorne1\n:9631"}) {
    EXPECT_FALSE(known.Pin(server, kKeyA)) << server;
  }
  EXPECT_EQ(Read(target), "keep\n");
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "known_servers"));
#ifndef _WIN32
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
#endif
}

// VIREO_getKeyMismatch with all buffers of `size`; the texts it gave.
VIREO_STATUS GetMismatch(const char* server, std::uint32_t size, std::vector<std::string>& texts) {
  std::vector<char> shown(size + 1, 'x');
  std::vector<char> pinned(size + 1, 'x');
  std::vector<char> file(size + 1, 'x');
  const VIREO_STATUS status =
      VIREO_getKeyMismatch(server, shown.data(), size, pinned.data(), size, file.data(), size);
  EXPECT_EQ(shown[size], 'x');  // nothing past the buffer
  texts.clear();
  if (status == VIREO_OK) {
    texts = {shown.data(), pinned.data(), file.data()};
  }
  return status;
}

TEST(VireoKeyMismatch, TheLastMismatchOfEachServerIsToldCutToTheBuffers) {
  NoteKeyMismatch("zorne1", {kKeyB, kKeyA, "/old"});
  NoteKeyMismatch("zorne1", {kKeyA, kKeyB, "/home/u/.config/azuqvc/known_servers"});
  std::vector<std::string> texts;
  EXPECT_EQ(GetMismatch("zorne1", 128, texts), VIREO_OK);
  EXPECT_EQ(texts,
            (std::vector<std::string>{kKeyA, kKeyB, "/home/u/.config/azuqvc/known_servers"}));
  EXPECT_EQ(GetMismatch("zorne1", 8, texts), VIREO_OK);
  EXPECT_EQ(texts, (std::vector<std::string>{"sha256:", "sha256:", "/home/u"}));
  EXPECT_EQ(GetMismatch("zorne1", 1, texts), VIREO_OK);
  EXPECT_EQ(texts, (std::vector<std::string>{"", "", ""}));

  EXPECT_EQ(GetMismatch("ZORNE1", 128, texts), VIREO_E_ARGUMENT);  // as the connect named it
  EXPECT_EQ(GetMismatch("zorne1", 0, texts), VIREO_E_ARGUMENT);
  char buffer[8];
  EXPECT_EQ(VIREO_getKeyMismatch(nullptr, buffer, 8, buffer, 8, buffer, 8), VIREO_E_ARGUMENT);
  EXPECT_EQ(VIREO_getKeyMismatch("zorne1", buffer, 8, nullptr, 8, buffer, 8), VIREO_E_ARGUMENT);
}

TEST(VireoKeyMismatch, ManyServersForgetTheOldestFirst) {
  for (int i = 0; i < 100; ++i) {
    NoteKeyMismatch("server" + std::to_string(i), {kKeyA, kKeyB, "/f"});
  }
  EXPECT_EQ(LastKeyMismatch("server35"), std::nullopt);
  ASSERT_NE(LastKeyMismatch("server36"), std::nullopt);
  EXPECT_EQ(LastKeyMismatch("server99")->pinned, kKeyB);
}

}  // namespace
}  // namespace azu::vireo
