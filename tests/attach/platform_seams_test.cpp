// The watcher's POSIX seams that can be tried without a network: drive E:, the service
// commands (always through a stand-in program, never the real service manager) and the
// atomic replacement of a file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/atomic_replace.h"
#include "platform/drive_e.h"
#include "platform/service_control.h"
#include "tests/support/temp_folder.h"

namespace azu::platform {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// Sets an environment variable for one scope.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

TEST(DriveE, IsTheConfiguredFolderWithoutTrailingSlashElseMntE) {
  {
    const ScopedVariable drive("AZUQVC_DRIVE_E", "/srv/zorne/e//");
    EXPECT_EQ(DriveE(), "/srv/zorne/e");
    EXPECT_EQ(DriveESource(), "AZUQVC_DRIVE_E");
  }
  const ScopedVariable empty("AZUQVC_DRIVE_E", "");
  EXPECT_EQ(DriveE(), "/mnt/e");
  EXPECT_EQ(DriveESource(), "");
}

TEST(ServiceControl, RunsTheConfiguredProgramWithTheUnitOfEachService) {
  const test::TempFolderScope folder;
  const fs::path log = folder.Path() / "calls";
  const fs::path program = folder.Path() / "service-ctl";
  std::ofstream(program) << "#!/bin/sh\necho \"$#:$1:$2\" >> " << log.string() << "\n";
  fs::permissions(program, fs::perms::owner_all);
  const ScopedVariable control("AZUQVC_SERVICE_CTL", program.string());
  SystemServiceControl().Stop("AZU CommonLCD");
  SystemServiceControl().Stop("Apache");
  SystemServiceControl().Start("AZU Zorne");
  EXPECT_EQ(Slurp(log), "2:stop:azu-commonlcd\n2:stop:apache2\n2:start:azu-zorne\n");
  EXPECT_EQ(ServiceControlSource(), "AZUQVC_SERVICE_CTL");
  const ScopedVariable unset("AZUQVC_SERVICE_CTL", "");
  // By its path: a root process never looks programs up in PATH.
  EXPECT_EQ(ServiceControlProgram(), "/usr/bin/systemctl");
  EXPECT_EQ(ServiceControlSource(), "");
}

TEST(ServiceControl, AProgramThatCannotRunIsNotNoticed) {
  const ScopedVariable control("AZUQVC_SERVICE_CTL", "/nonexistent/service-ctl");
  SystemServiceControl().Stop("Apache");
  EXPECT_EQ(ServiceUnit("Some Other"), "Some Other");
}

TEST(ReplaceFileAtomically, KeepsTheModeOfTheFileItReplaces) {
  const test::TempFolderScope folder;
  const fs::path target = folder.Path() / "engineAddr";
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  int error = 0;
  ASSERT_TRUE(ReplaceFileAtomically(target.string(), "new", &error));
  EXPECT_EQ(Slurp(target), "new");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const fs::path fresh = folder.Path() / "fresh";
  ASSERT_TRUE(ReplaceFileAtomically(fresh.string(), "", &error));
  EXPECT_EQ(fs::file_size(fresh), 0U);
  EXPECT_EQ(fs::status(fresh).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(folder.Files().size(), 2U);  // nothing else left behind
}

TEST(ReplaceFileAtomically, KeepsTheOwnerAndReplacesALinkWithoutWritingThroughIt) {
  const test::TempFolderScope folder;
  const fs::path target = folder.Path() / "engineAddr.ini";
  std::ofstream(target) << "old";
  if (geteuid() == 0) {
    ASSERT_EQ(chown(target.c_str(), 4242, 4343), 0);
    ASSERT_EQ(chmod(target.c_str(), 02640), 0);
  }
  int error = 0;
  ASSERT_TRUE(ReplaceFileAtomically(target.string(), "new", &error));
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  if (geteuid() == 0) {
    EXPECT_EQ(info.st_uid, 4242U);
    EXPECT_EQ(info.st_gid, 4343U);
    EXPECT_EQ(info.st_mode & 07777, 02640U);
  }
  const fs::path victim = folder.Path() / "victim";
  const fs::path link = folder.Path() / "link";
  std::ofstream(victim) << "victim";
  fs::create_symlink(victim, link);
  ASSERT_TRUE(ReplaceFileAtomically(link.string(), "new", &error));
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(link), "new");
  EXPECT_EQ(Slurp(victim), "victim");
}

TEST(ReplaceFileAtomically, FailsWithTheSystemsCodeAndLeavesNothing) {
  const test::TempFolderScope folder;
  int error = 0;
  EXPECT_FALSE(ReplaceFileAtomically((folder.Path() / "missing" / "x").string(), "a", &error));
  EXPECT_EQ(error, ENOENT);
  // A folder in the way: the rename fails and the temporary file goes again.
  fs::create_directory(folder.Path() / "dir");
  EXPECT_FALSE(ReplaceFileAtomically((folder.Path() / "dir").string(), "a", &error));
  EXPECT_EQ(error, EISDIR);
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"dir"});
}

}  // namespace
}  // namespace azu::platform
