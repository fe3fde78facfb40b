// The socket layer on loopback only: opening, binding, the closed state, waiting, and the
// exception's copies.

#include "attach/socket_wrapper.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace azu {
namespace {

constexpr const char* kLoopback = "127.0.0.1";

TEST(CSocketWrapper, StartsClosedWithEmptyAddressesOfTheInternetFamily) {
  const CSocketWrapper socket;
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_EQ(socket.Type(), SOCK_STREAM);
  for (const sockaddr_in* address : {&socket.LocalAddress(), &socket.RemoteAddress()}) {
    EXPECT_EQ(address->sin_family, AF_INET);
    EXPECT_EQ(address->sin_port, 0);
    EXPECT_EQ(address->sin_addr.s_addr, 0U);
  }
}

TEST(CSocketWrapper, ClosedSocketSendsReceivesAndWaitsForNothing) {
  CSocketWrapper socket;
  char buffer[16] = {};
  sockaddr_in sender{};
  int senderLength = sizeof sender;
  EXPECT_EQ(socket.SendTo(buffer, 4, kLoopback, 9, 0), -1);
  EXPECT_EQ(socket.ReceiveFrom(buffer, sizeof buffer, reinterpret_cast<sockaddr*>(&sender),
                               &senderLength, 0),
            -1);
  bool read = true, write = true, except = true;
  EXPECT_FALSE(socket.WaitOnSocket(read, write, except));
  EXPECT_FALSE(read || write || except);
  socket.Close();
  socket.Close();
  EXPECT_FALSE(socket.IsOpen());
}

TEST(CSocketWrapper, CreateWithoutLocalAddressLeavesTheSocketUnbound) {
  CSocketWrapper socket;
  EXPECT_TRUE(socket.Create(4321, SOCK_DGRAM, nullptr, true));
  EXPECT_TRUE(socket.IsOpen());
  EXPECT_EQ(socket.Type(), SOCK_DGRAM);
  EXPECT_EQ(socket.LocalAddress().sin_port, 0);  // neither stored nor bound
  EXPECT_EQ(socket.LocalAddress().sin_addr.s_addr, 0U);
}

TEST(CSocketWrapper, PortZeroBindsToAPortTheSystemChose) {
  CSocketWrapper socket;
  ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, kLoopback, true));
  EXPECT_NE(socket.LocalAddress().sin_port, 0);
  EXPECT_EQ(socket.LocalAddress().sin_addr.s_addr, inet_addr(kLoopback));
}

TEST(CSocketWrapper, StreamTypeAsksForUdpAndFailsInSocket) {
  CSocketWrapper socket;
  try {
    socket.Create(0, SOCK_STREAM, kLoopback, false);
    FAIL() << "a stream socket with protocol UDP was opened";
  } catch (const CSocketException& failure) {
    EXPECT_STREQ(failure.Operation(), "socket()");
    EXPECT_EQ(failure.GetErrorCode(), EPROTONOSUPPORT);
  }
  EXPECT_FALSE(socket.IsOpen());
}

TEST(CSocketWrapper, BindingToAnAddressInUseThrowsBindAndKeepsTheSocketForClose) {
  CSocketWrapper first;
  ASSERT_TRUE(first.Create(0, SOCK_DGRAM, kLoopback, false));
  const auto port = ntohs(first.LocalAddress().sin_port);
  CSocketWrapper second;
  try {
    second.Create(port, SOCK_DGRAM, kLoopback, false);
    FAIL() << "two sockets bound to one port";
  } catch (const CSocketException& failure) {
    EXPECT_STREQ(failure.Operation(), "bind()");
    EXPECT_EQ(failure.GetErrorCode(), EADDRINUSE);
  }
  EXPECT_TRUE(second.IsOpen());
  second.Close();
  EXPECT_FALSE(second.IsOpen());
}

TEST(CSocketWrapper, CreateOnAnOpenSocketClosesTheOldOne) {
  CSocketWrapper socket;
  ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, kLoopback, false));
  const auto port = ntohs(socket.LocalAddress().sin_port);
  ASSERT_TRUE(socket.Create(port, SOCK_DGRAM, kLoopback, false));  // the old port is free again
  EXPECT_EQ(ntohs(socket.LocalAddress().sin_port), port);
}

TEST(CSocketWrapper, DatagramTravelsAndWaitReportsOnlyWhatWasAsked) {
  CSocketWrapper receiver;
  CSocketWrapper sender;
  ASSERT_TRUE(receiver.Create(0, SOCK_DGRAM, kLoopback, false));
  ASSERT_TRUE(sender.Create(0, SOCK_DGRAM, kLoopback, false));
  const auto port = ntohs(receiver.LocalAddress().sin_port);
  EXPECT_EQ(sender.SendTo("ping!", 5, kLoopback, port, 0), 5);
  EXPECT_EQ(ntohs(sender.RemoteAddress().sin_port), port);

  bool read = true, write = false, except = true;
  ASSERT_TRUE(receiver.WaitOnSocket(read, write, except));
  EXPECT_TRUE(read);
  EXPECT_FALSE(write);
  EXPECT_FALSE(except);

  char buffer[4096];
  sockaddr_in from{};
  int fromLength = sizeof from;
  EXPECT_EQ(receiver.ReceiveFrom(buffer, sizeof buffer, reinterpret_cast<sockaddr*>(&from),
                                 &fromLength, 0),
            5);
  EXPECT_EQ(std::memcmp(buffer, "ping!", 5), 0);
  EXPECT_EQ(from.sin_port, sender.LocalAddress().sin_port);
  EXPECT_EQ(fromLength, static_cast<int>(sizeof from));
}

TEST(CSocketWrapper, WaitWithNothingAskedWaitsOutTheSecondAndGivesFalse) {
  CSocketWrapper socket;
  ASSERT_TRUE(socket.Create(0, SOCK_DGRAM, kLoopback, false));
  bool read = false, write = false, except = false;
  EXPECT_FALSE(socket.WaitOnSocket(read, write, except));
  EXPECT_FALSE(read || write || except);
}

// select's fixed sets end at FD_SETSIZE; a socket numbered above it must still be waited on.
TEST(CSocketWrapper, WaitWorksForADescriptorAboveTheSelectLimit) {
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_cur < FD_SETSIZE + 16) {
    limit.rlim_cur = std::min<rlim_t>(FD_SETSIZE + 16, limit.rlim_max);
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur < FD_SETSIZE + 16) {
      GTEST_SKIP() << "cannot open more than " << FD_SETSIZE << " descriptors here";
    }
  }
  std::vector<int> fillers;
  int probe = dup(0);
  while (probe >= 0 && probe < FD_SETSIZE + 4) {
    fillers.push_back(probe);
    probe = dup(0);
  }
  if (probe >= 0) close(probe);
  CSocketWrapper receiver;
  CSocketWrapper sender;
  ASSERT_TRUE(receiver.Create(0, SOCK_DGRAM, kLoopback, false));
  ASSERT_TRUE(sender.Create(0, SOCK_DGRAM, kLoopback, false));
  EXPECT_EQ(sender.SendTo("x", 1, kLoopback, ntohs(receiver.LocalAddress().sin_port), 0), 1);
  bool read = true, write = false, except = false;
  EXPECT_TRUE(receiver.WaitOnSocket(read, write, except));
  EXPECT_TRUE(read);
  for (const int fd : fillers) close(fd);
}

TEST(CSocketException, EachCopyOwnsItsText) {
  auto original = std::make_unique<CSocketException>(10054, "recvfrom()");
  CSocketException copy(*original);
  EXPECT_NE(copy.Operation(), original->Operation());
  original.reset();
  EXPECT_STREQ(copy.Operation(), "recvfrom()");
  EXPECT_EQ(copy.GetErrorCode(), 10054);

  CSocketException assigned(1, nullptr);
  EXPECT_EQ(assigned.Operation(), nullptr);
  assigned = copy;
  EXPECT_STREQ(assigned.Operation(), "recvfrom()");
  EXPECT_NE(assigned.Operation(), copy.Operation());
}

}  // namespace
}  // namespace azu
