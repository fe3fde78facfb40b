// The process's copy of the known-servers file: a fleet of connections reads the file once and
// appends its new pins in one write when the last of them closes; a change another process makes
// is seen, and its pin stands over one still waiting.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"
#include "tests/support/running_emulator.h"
#include "tests/support/tcp_relay.h"
#include "tests/vireo/client_support.h"
#include "vireo/known_servers.h"

namespace azu::vireo {
namespace {

std::string Read(const std::filesystem::path& file) {
  return test::FileBytes(file);
}

// As another process writes it: a new file renamed over the old one.
void ReplaceAsAnotherProcess(const std::filesystem::path& file, const std::string& content) {
  const auto written = file.string() + ".other";
  std::ofstream(written, std::ios::binary) << content;
  std::filesystem::rename(written, file);
}

struct stat Stat(const std::filesystem::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0) << file;
  return info;
}

TEST(VireoKnownServersCopy, ManyConnectionsReadTheFileOnceAndAppendTheirPinsOnce) {
  constexpr int kServers = 12;
  test::RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  const test::ScratchFolder local;
  const std::filesystem::path file = local.File("known_servers");
  ::setenv("VIREO_KNOWN_SERVERS", file.c_str(), 1);
  // Each relay is a server of its own name ("127.0.0.1:PORT"), all with the emulator's key.
  std::vector<std::unique_ptr<test::TcpRelay>> servers;
  for (int i = 0; i < kServers; ++i) {
    servers.push_back(std::make_unique<test::TcpRelay>(emulator.Port()));
  }
  const auto line = [&](int i) {
    return servers[i]->Address() + " " + emulator.KeyFingerprint() + "\n";
  };
  const std::string byHand = "# lab\n" + line(0);
  std::ofstream(file, std::ios::binary) << byHand;
  const auto inode = Stat(file).st_ino;

  const KnownServersActivity before = KnownServersFileActivity();
  {
    std::vector<std::unique_ptr<test::ClientConnection>> open;
    for (const auto& server : servers) {
      open.push_back(
          std::make_unique<test::ClientConnection>(server->Address(), emulator.Password()));
      ASSERT_EQ(open.back()->Status(), VIREO_OK) << server->Address();
    }
    EXPECT_EQ(Read(file), byHand);  // nothing written while connections are open
  }
  KnownServersActivity after = KnownServersFileActivity();
  EXPECT_EQ(after.reads - before.reads, 1U);
  EXPECT_EQ(after.writes - before.writes, 1U);
  std::string expected = byHand;
  for (int i = 1; i < kServers; ++i) expected += line(i);
  EXPECT_EQ(Read(file), expected);
  EXPECT_EQ(Stat(file).st_ino, inode);  // appended, the hand-made lines untouched
  EXPECT_EQ(Stat(file).st_mode & 0777U, 0600U);

  // Another process forgets a pin: the next connect sees the file changed and pins again.
  ReplaceAsAnotherProcess(file, byHand);
  {
    const test::ClientConnection again(servers[1]->Address(), emulator.Password());
    ASSERT_EQ(again.Status(), VIREO_OK);
  }
  const KnownServersActivity last = KnownServersFileActivity();
  EXPECT_EQ(last.reads - after.reads, 1U);
  EXPECT_EQ(last.writes - after.writes, 1U);
  EXPECT_EQ(Read(file), byHand + line(1));
}

TEST(VireoKnownServersCopy, APinAnotherProcessWroteFirstStandsOverAWaitingOne) {
  const std::string keyA = "sha256:" + std::string(64, 'a');
  const std::string keyB = "sha256:" + std::string(64, 'b');
  const test::ScratchFolder local;
  const KnownServers known(local.File("known_servers"));
  ASSERT_TRUE(known.PinLater("zorne1:9631", keyA));
  EXPECT_EQ(known.Pinned("zorne1:9631"), keyA);  // counts in this process at once

  ReplaceAsAnotherProcess(known.File(), "zorne1:9631 " + keyB + "\n");
  EXPECT_EQ(known.Pinned("zorne1:9631"), keyB);
  EXPECT_TRUE(FlushPins());
  EXPECT_EQ(Read(known.File()), "zorne1:9631 " + keyB + "\n");
}

}  // namespace
}  // namespace azu::vireo
