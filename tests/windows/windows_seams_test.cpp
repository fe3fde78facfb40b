// The Windows seams that only a Windows program can try: a datagram through the Winsock socket
// layer on 127.0.0.1 (loopback only), the atomic replace with MoveFileEx, and the service
// restart through the command processor, recorded by a stand-in net.exe.

#include <gtest/gtest.h>
#include <winsock2.h>
// After winsock2.h, whose declarations it would otherwise take the older ones of.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "attach/socket_wrapper.h"
#include "platform/atomic_replace.h"
#include "platform/service_control.h"
#include "platform/sockets.h"
#include "tests/support/temp_folder.h"

namespace azu {
namespace {

namespace fs = std::filesystem;

// The recorder is built beside the test program.
fs::path NetRecorder() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / "net_recorder.exe";
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(WinsockLayer, SendsAndReceivesADatagramOnLoopback) {
  ASSERT_TRUE(platform::StartSockets());
  CSocketWrapper receiver;
  CSocketWrapper sender;
  ASSERT_TRUE(receiver.Create(0, SOCK_DGRAM, "127.0.0.1", false));
  ASSERT_TRUE(sender.Create(0, SOCK_DGRAM, "127.0.0.1", false));
  const std::uint16_t port = ntohs(receiver.LocalAddress().sin_port);
  ASSERT_NE(port, 0);
  const char message[] = "zorne";
  ASSERT_EQ(sender.SendTo(message, sizeof message, "127.0.0.1", port, 0),
            static_cast<int>(sizeof message));
  bool read = true;
  bool write = false;
  bool except = false;
  ASSERT_TRUE(receiver.WaitOnSocket(read, write, except));
  EXPECT_TRUE(read);
  char buffer[64] = {};
  sockaddr_in from{};
  int fromLength = sizeof from;
  ASSERT_EQ(receiver.ReceiveFrom(buffer, sizeof buffer, reinterpret_cast<sockaddr*>(&from),
                                 &fromLength, 0),
            static_cast<int>(sizeof message));
  EXPECT_STREQ(buffer, "zorne");
  EXPECT_EQ(from.sin_port, sender.LocalAddress().sin_port);
}

TEST(AtomicReplace, ReplacesWholeAndLeavesNothingBehindOnFailure) {
  const test::TempFolderScope folder;
  const fs::path target = folder.Path() / "engineHTTP";
  std::ofstream(target, std::ios::binary) << "old";
  int error = 0;
  ASSERT_TRUE(platform::ReplaceFileAtomically(target.string(), "HTTP=80\r\n", &error));
  EXPECT_EQ(Slurp(target), "HTTP=80\r\n");
  EXPECT_FALSE(
      platform::ReplaceFileAtomically((folder.Path() / "missing" / "x").string(), "a", &error));
  EXPECT_NE(error, 0);
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"engineHTTP"});
}

// net.exe is looked up in the current folder first, where the recorder stands in for it.
TEST(ServiceControl, StopsAndStartsThroughNetExe) {
  const test::TempFolderScope folder;
  ASSERT_TRUE(fs::exists(NetRecorder()));
  fs::copy_file(NetRecorder(), folder.Path() / "net.exe");
  const fs::path before = fs::current_path();
  fs::current_path(folder.Path());
  platform::SystemServiceControl().Stop("AZU CommonLCD");
  platform::SystemServiceControl().Start("AZU Zorne");
  fs::current_path(before);
  EXPECT_EQ(Slurp(folder.Path() / "net-calls.txt"), "stop|AZU CommonLCD\nstart|AZU Zorne\n");
  EXPECT_EQ(platform::ServiceControlProgram(), "net.exe");
}

}  // namespace
}  // namespace azu
