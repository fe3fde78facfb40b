// The C interface without a server: arguments, handles and records that lead nowhere, and
// servers that cannot be reached.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "server/vireo.h"
#include "tests/support/environment.h"

namespace {

constexpr VIREO_CONNECTION kUnknownConnection = 0x7FFF0001U;

VIREO_STATUS Connect(const char* server, const char* password, VIREO_CONNECTION* connection) {
  return INIT_connect(server, "admin", password, 0, 0, 0, -1, -1, 1, 3, 0, connection, 0);
}

// A loopback TCP socket, closed with the test.
class LoopbackSocket {
 public:
  LoopbackSocket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
  ~LoopbackSocket() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;
  LoopbackSocket(LoopbackSocket&&) = delete;
  LoopbackSocket& operator=(LoopbackSocket&&) = delete;

  // Binds 127.0.0.1 on a free port; returns the port (0 on failure).
  std::uint16_t Bind() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return 0;
    }
    return ntohs(address.sin_port);
  }
  // Starts a connection without waiting for it.
  void ConnectLater(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    ::fcntl(fd_, F_SETFL, O_NONBLOCK);
    ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  [[nodiscard]] int Get() const { return fd_; }

 private:
  int fd_;
};

TEST(VireoApiArguments, ConnectRefusesMissingOrMalformedArguments) {
  EXPECT_EQ(Connect("127.0.0.1:1", "pw", nullptr), VIREO_E_ARGUMENT);
  for (const char* server : {"", "host:0", "host:99999", "a b", "host:1:2", "[::1]:9631"}) {
    VIREO_CONNECTION connection = 77;
    EXPECT_EQ(Connect(server, "pw", &connection), VIREO_E_ARGUMENT) << server;
    EXPECT_EQ(connection, 0U) << server;
  }
  VIREO_CONNECTION connection = 77;
  EXPECT_EQ(Connect(nullptr, "pw", &connection), VIREO_E_ARGUMENT);
  EXPECT_EQ(connection, 0U);
  EXPECT_EQ(Connect("127.0.0.1:1", nullptr, &connection), VIREO_E_ARGUMENT);
  EXPECT_EQ(INIT_connect("127.0.0.1:1", nullptr, "pw", 0, 0, 0, -1, -1, 1, 3, 0, &connection, 0),
            VIREO_E_ARGUMENT);

  connection = 77;
  EXPECT_EQ(AZUM_connectUTF8("127.0.0.1", "admin", "pw", "other", -1, -1, &connection, 0),
            VIREO_E_ARGUMENT);
  EXPECT_EQ(connection, 0U);
  EXPECT_EQ(AZUM_connectUTF8("127.0.0.1", "admin", "pw", nullptr, -1, -1, &connection, 0),
            VIREO_E_ARGUMENT);

  // A malformed port setting is a mistake, not a reason to try the usual port.
  ::setenv("VIREO_PORT", "96x1", 1);
  EXPECT_EQ(Connect("127.0.0.1", "pw", &connection), VIREO_E_ARGUMENT);
  ::unsetenv("VIREO_PORT");
}

TEST(VireoApiArguments, UnknownConnectionsAreRefused) {
  for (const VIREO_CONNECTION connection : {0U, kUnknownConnection}) {
    EXPECT_EQ(INIT_disconnect(connection, 0), VIREO_E_CONNECTION);
    EXPECT_EQ(SERVER_reboot(connection, 0), VIREO_E_CONNECTION);
    EXPECT_EQ(SERVER_restart(connection, 0), VIREO_E_CONNECTION);
    VIREO_FT_SESSION files{5, 6};
    EXPECT_EQ(FT_openSession(connection, &files, 0), VIREO_E_CONNECTION);
    EXPECT_EQ(files.id, 0U);
    EXPECT_EQ(files.check, 0U);
    VIREO_ATTR_SESSION attributes{5, 6};
    EXPECT_EQ(ATTR_openSession(connection, &attributes, 0), VIREO_E_CONNECTION);
    EXPECT_EQ(attributes.id, 0U);
  }
  EXPECT_EQ(FT_openSession(kUnknownConnection, nullptr, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(ATTR_openSession(kUnknownConnection, nullptr, 0), VIREO_E_ARGUMENT);
}

TEST(VireoApiArguments, UnknownSessionRecordsAreRefused) {
  // A refused call must not touch the local file; it lives in a folder of the test's own.
  const std::filesystem::path scratch = azu::test::MakeTempFolder("vireo-arguments-");
  const std::string local = (scratch / "a.txt").string();
  for (const VIREO_FT_SESSION record : {VIREO_FT_SESSION{0, 0}, VIREO_FT_SESSION{1, 0xDEADBEEF}}) {
    VIREO_FT_SESSION session = record;
    EXPECT_EQ(FT_getFile(&session, "/not-scsi0/a.txt", local.c_str(), 0), VIREO_E_SESSION);
    EXPECT_EQ(FT_putFile(&session, local.c_str(), "/not-scsi0/a.txt", 0), VIREO_E_SESSION);
    EXPECT_EQ(FT_delete(&session, "/not-scsi0/a.txt", 0), VIREO_E_SESSION);
    EXPECT_EQ(FT_closeSession(&session, 0), VIREO_E_SESSION);
  }
  VIREO_ATTR_SESSION attributes{1, 0xDEADBEEF};
  EXPECT_EQ(ATTR_setDefault(&attributes, 0, "Name", "value", 0), VIREO_E_SESSION);
  EXPECT_EQ(ATTR_closeSession(&attributes, 0), VIREO_E_SESSION);

  VIREO_FT_SESSION files{1, 2};
  EXPECT_EQ(FT_getFile(nullptr, "/not-scsi0/a.txt", local.c_str(), 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_getFile(&files, nullptr, local.c_str(), 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_getFile(&files, "/not-scsi0/a.txt", "", 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_putFile(&files, nullptr, "/not-scsi0/a.txt", 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_putFile(&files, local.c_str(), "", 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_delete(&files, nullptr, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(FT_closeSession(nullptr, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(ATTR_setDefault(nullptr, 0, "Name", "value", 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(ATTR_setDefault(&attributes, 0, nullptr, "value", 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(ATTR_setDefault(&attributes, 0, "Name", nullptr, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(ATTR_closeSession(nullptr, 0), VIREO_E_ARGUMENT);
  EXPECT_FALSE(std::filesystem::exists(local));
  std::filesystem::remove_all(scratch);
}

TEST(VireoApiArguments, DiscoveryRefusesBadArgumentsAndSettingsWithoutSending) {
  // Nothing may reach the broadcast default, whatever a case does.
  ::setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);
  DISCOV_ZorneEx** list = reinterpret_cast<DISCOV_ZorneEx**>(&list);
  std::int32_t count = 3;
  EXPECT_EQ(DISCOV_getZorneList(0, 100, 0, 0, 0, 0, 0, &list, &count, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(DISCOV_getZorneList(1, 0, 0, 0, 0, 0, 0, &list, &count, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(DISCOV_getZorneList(-5, 100, 0, 0, 0, 0, 0, &list, &count, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(DISCOV_getZorneList(1, 100, 0, 0, 0, 0, 0, nullptr, &count, 0), VIREO_E_ARGUMENT);
  EXPECT_EQ(DISCOV_getZorneList(1, 100, 0, 0, 0, 0, 0, &list, nullptr, 0), VIREO_E_ARGUMENT);

  for (const char* targets : {"", "127.0.0.9,", "localhost", "127.0.0.9:0"}) {
    ::setenv("VIREO_DISCOVERY_TARGETS", targets, 1);
    count = 3;
    EXPECT_EQ(DISCOV_getZorneList(1, 100, 0, 0, 0, 0, 0, &list, &count, 0), VIREO_E_DISCOVERY)
        << targets;
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0);
  }
  ::setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);

  EXPECT_EQ(DISCOV_freeDiscoveredZorneExList(nullptr, 0, 0), VIREO_E_ARGUMENT);
  DISCOV_ZorneEx* foreign[1] = {nullptr};
  EXPECT_EQ(DISCOV_freeDiscoveredZorneExList(foreign, 1, 0), VIREO_E_ARGUMENT);
}

TEST(VireoApiArguments, RefusedConnectionIsUnreachable) {
  // Bound but not listening: the connection is refused at once.
  LoopbackSocket closed;
  const std::uint16_t port = closed.Bind();
  ASSERT_NE(port, 0);
  const std::string server = "127.0.0.1:" + std::to_string(port);
  VIREO_CONNECTION connection = 77;
  EXPECT_EQ(Connect(server.c_str(), "RONDEL", &connection), VIREO_E_UNREACHABLE);
  EXPECT_EQ(connection, 0U);

  ::setenv("VIREO_PORT", std::to_string(port).c_str(), 1);
  EXPECT_EQ(AZUM_connectUTF8("127.0.0.1", "admin", "RONDEL", "RONDEL", -1, -1, &connection, 0),
            VIREO_E_UNREACHABLE);
  ::unsetenv("VIREO_PORT");
}

TEST(VireoApiArguments, SilentServerIsUnreachableWithinTheConnectLimit) {
  // A listener whose backlog is full drops further connection requests unanswered, as a server
  // behind a black hole would, without a packet leaving loopback.
  LoopbackSocket listener;
  const std::uint16_t port = listener.Bind();
  ASSERT_NE(port, 0);
  ASSERT_EQ(::listen(listener.Get(), 0), 0);
  std::vector<std::unique_ptr<LoopbackSocket>> fillers;
  for (int i = 0; i < 3; ++i) {
    fillers.push_back(std::make_unique<LoopbackSocket>());
    fillers.back()->ConnectLater(port);
  }

  const std::string server = "127.0.0.1:" + std::to_string(port);
  VIREO_CONNECTION connection = 77;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Connect(server.c_str(), "RONDEL", &connection), VIREO_E_UNREACHABLE);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
  EXPECT_EQ(connection, 0U);
}

}  // namespace
