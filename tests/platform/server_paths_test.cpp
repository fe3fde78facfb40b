#include "platform/server_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace azu::platform {
namespace {

const std::filesystem::path kDrive = "/mnt/e";

TEST(ServerPaths, MapsTheTwoRootsOntoDriveE) {
  struct Case {
    std::string_view server_path;
    const char* local;
  };
  const Case cases[] = {
      {"/not-scsi0/settings.ini", "/mnt/e/azu/server/settings.ini"},
      {"/not-scsi0/conf/net/ip.cfg", "/mnt/e/azu/server/conf/net/ip.cfg"},
      {"/harddisk2/data.txt", "/mnt/e/data.txt"},
      {"/harddisk2/azu/server/x", "/mnt/e/azu/server/x"},  // the same file by its other name
      {"/harddisk2/.hidden", "/mnt/e/.hidden"},
      {"/harddisk2/a..b", "/mnt/e/a..b"},  // dots inside a name are just a name
      {"/harddisk2/...", "/mnt/e/..."},
      {"/harddisk2/with space", "/mnt/e/with space"},
      {"/harddisk2/caf\xC3\xA9.txt", "/mnt/e/caf\xC3\xA9.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocalFormOfServerPath(kDrive, c.server_path), std::filesystem::path(c.local))
        << c.server_path;
  }
}

TEST(ServerPaths, RefusesEverythingElse) {
  using namespace std::string_view_literals;
  const std::string_view refused[] = {
      ""sv,
      "/"sv,
      "not-scsi0/x"sv,  // relative
      "/not-scsi0"sv,   // the roots are folders, not files
      "/not-scsi0/"sv,
      "/harddisk2"sv,
      "/harddisk2/"sv,
      "/harddisk1/x"sv,  // no other root exists
      "/not-scsi01/x"sv,
      "/NOT-SCSI0/x"sv,
      "/etc/passwd"sv,
      "//harddisk2/x"sv,
      "/harddisk2//x"sv,  // empty segments
      "/harddisk2/x/"sv,
      "/harddisk2/x//"sv,
      "/harddisk2/."sv,  // dot segments
      "/harddisk2/./x"sv,
      "/harddisk2/.."sv,
      "/harddisk2/../x"sv,
      "/harddisk2/a/../../x"sv,
      "/not-scsi0/../../etc/passwd"sv,
      "/harddisk2/a/.."sv,
      "/harddisk2\\x"sv,  // backslashes
      "/harddisk2/a\\..\\..\\x"sv,
      "/harddisk2/%2e%2e/x"sv,  // encoded once more than HTTP decodes
      "/harddisk2/%2fetc"sv,
      "/harddisk2/a%00b"sv,
      "/harddisk2/a\0b"sv,  // NUL and other control characters
      "/harddisk2/a\nb"sv,
      "/harddisk2/a\rb"sv,
      "/harddisk2/a\tb"sv,
      "/harddisk2/a\x7f"sv,
      "/harddisk2/C:"sv,  // Windows drive and stream names
      "/harddisk2/file.txt::$DATA"sv,
  };
  for (const std::string_view path : refused) {
    EXPECT_EQ(LocalFormOfServerPath(kDrive, path), std::nullopt) << '"' << path << '"';
  }
}

}  // namespace
}  // namespace azu::platform
