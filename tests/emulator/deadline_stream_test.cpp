#include "emulator/deadline_stream.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "emulator/stop_signal.h"

namespace azu::emulator {
namespace {

using std::chrono::milliseconds;

// Two connected sockets: `server` for the stream, `client` for the test to play the client.
struct SocketPair {
  SocketPair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0); }
  ~SocketPair() {
    ::close(fds[0]);
    ::close(fds[1]);
  }
  int server() const { return fds[0]; }
  int client() const { return fds[1]; }
  int fds[2] = {-1, -1};
};

TEST(DeadlineStream, ReadsWhatTheClientSentInOrder) {
  SocketPair sockets;
  StopSignal stop;
  DeadlineStream stream(sockets.server(), stop.Fd(), {});
  const std::string sent = "PUT /v1/file HTTP/1.1\r\n\r\n" + std::string(10000, 'b');
  ASSERT_EQ(::write(sockets.client(), sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  ::shutdown(sockets.client(), SHUT_WR);
  ASSERT_TRUE(stream.WaitForRequest());
  stream.StartRequest();
  std::string received;
  char byte = 0;
  while (received.size() < 5 && stream.read(&byte, 1) == 1) received += byte;
  char chunk[3000];
  for (ssize_t got = 0; (got = stream.read(chunk, sizeof chunk)) > 0;) received.append(chunk, got);
  EXPECT_EQ(received, sent);
}

TEST(DeadlineStream, AClientThatNeverFinishesIsCutOffAtTheRequestDeadline) {
  SocketPair sockets;
  StopSignal stop;
  // Each byte comes well within the read timeout; only the deadline can end this.
  DeadlineStream stream(
      sockets.server(), stop.Fd(),
      {milliseconds(5000), milliseconds(5000), milliseconds(5000), milliseconds(300)});
  std::atomic<bool> done = false;
  std::thread trickle([&] {
    const char byte = 'x';
    while (!done && ::send(sockets.client(), &byte, 1, MSG_NOSIGNAL) == 1) {
      std::this_thread::sleep_for(milliseconds(10));
    }
  });
  stream.StartRequest();
  char byte = 0;
  ssize_t got = 0;
  while ((got = stream.read(&byte, 1)) == 1) {
  }
  done = true;
  trickle.join();
  EXPECT_EQ(got, -1);
}

TEST(DeadlineStream, AClientThatStopsReadingIsGivenUp) {
  SocketPair sockets;
  StopSignal stop;
  DeadlineStream stream(
      sockets.server(), stop.Fd(),
      {milliseconds(5000), milliseconds(100), milliseconds(5000), milliseconds(60000)});
  stream.StartRequest();
  const std::string block(65536, 'a');
  ssize_t sent = 0;
  while ((sent = stream.write(block.data(), block.size())) > 0) {
  }
  EXPECT_EQ(sent, -1);
}

TEST(DeadlineStream, TheServersStopEndsEveryWaitAtOnce) {
  SocketPair sockets;
  StopSignal stop;
  // Limits so long that only the stop can end the waits within the test's time.
  const milliseconds hour(3600 * 1000);
  DeadlineStream stream(sockets.server(), stop.Fd(), {hour, hour, hour, hour});
  stream.StartRequest();
  std::thread stopper([&] { stop.Trigger(); });
  char byte = 0;
  EXPECT_EQ(stream.read(&byte, 1), -1);
  EXPECT_FALSE(stream.WaitForRequest());
  stopper.join();
  EXPECT_TRUE(stop.Triggered());
}

}  // namespace
}  // namespace azu::emulator
