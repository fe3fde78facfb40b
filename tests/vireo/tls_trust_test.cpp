// The link to a server through the C interface: nothing readable on the wire, the server's key
// pinned on first use, another key refused before the password goes, hostile answers bounded.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"
#include "tests/support/tcp_relay.h"
#include "tests/vireo/client_support.h"

namespace azu::test {
namespace {

constexpr const char* kPassword = "Wire-Secret-4711";
constexpr const char* kFileContent = "ftp_password=Pr1nterS3cret\r\n";

EmulatorOptions WithPassword() {
  EmulatorOptions options;
  options.password = kPassword;
  return options;
}

// Pins go to a file of this test's own, whatever the emulators set.
void UseKnownServers(const ScratchFolder& folder) {
  ::setenv("VIREO_KNOWN_SERVERS", folder.File("known_servers").c_str(), 1);
}

TEST(VireoTls, NothingReadableOnTheWireAndTheFirstKeyIsPinned) {
  RunningEmulator emulator(WithPassword());
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ScratchFolder local;
  UseKnownServers(local);
  TcpRelay relay(emulator.Port());
  {
    std::ofstream(local.File("up.ini"), std::ios::binary) << kFileContent;
    ClientConnection connection(relay.Address(), kPassword);
    ASSERT_EQ(connection.Status(), VIREO_OK);
    VIREO_FT_SESSION files = connection.OpenFiles();
    ASSERT_EQ(FT_putFile(&files, local.File("up.ini").c_str(), "/harddisk2/c.ini", 0), VIREO_OK);
    ASSERT_EQ(FT_getFile(&files, "/harddisk2/c.ini", local.File("down.ini").c_str(), 0), VIREO_OK);
    FT_closeSession(&files, 0);
  }
  const std::string wire = relay.Wire();
  ASSERT_GT(wire.size(), 2 * std::string(kFileContent).size());
  for (const char* secret : {kPassword, "Pr1nterS3cret", "Bearer", "HTTP/1.", "/v1/"}) {
    EXPECT_EQ(wire.find(secret), std::string::npos) << secret;
  }

  std::ifstream known(local.File("known_servers"));
  const std::string pins((std::istreambuf_iterator<char>(known)), {});
  EXPECT_EQ(pins, relay.Address() + " " + emulator.KeyFingerprint() + "\n");
  struct stat info {};
  ASSERT_EQ(::stat(local.File("known_servers").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600U);

  // No plain HTTP listener remains: a request in clear gets no HTTP answer.
  const int plain = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(emulator.Port());
  server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(plain, reinterpret_cast<const sockaddr*>(&server), sizeof server), 0);
  const std::string request = "POST /v1/session HTTP/1.1\r\nHost: z\r\nContent-Length: 0\r\n\r\n";
  ::send(plain, request.data(), request.size(), MSG_NOSIGNAL);
  char answer[64] = {};
  const ssize_t got = ::recv(plain, answer, sizeof answer - 1, 0);
  ::close(plain);
  EXPECT_NE(std::string(answer, got > 0 ? got : 0).rfind("HTTP/", 0), 0U);
}

TEST(VireoTls, AnotherKeyIsRefusedBeforeThePasswordGoesUntilTheOldPinIsForgotten) {
  RunningEmulator genuine(WithPassword());
  RunningEmulator impostor(WithPassword());
  ASSERT_TRUE(genuine.Started() && impostor.Started());
  ScratchFolder local;
  UseKnownServers(local);
  TcpRelay relay(genuine.Port());
  VIREO_CONNECTION connection = 0;
  ASSERT_EQ(ConnectTo(relay.Address(), kPassword, connection), VIREO_OK);
  INIT_disconnect(connection, 0);

  // Another machine answers at the server's address.
  relay.Retarget(impostor.Port());
  EXPECT_EQ(ConnectTo(relay.Address(), kPassword, connection), VIREO_E_HOSTKEY);
  EXPECT_EQ(connection, 0U);
  EXPECT_TRUE(impostor.Events().empty()) << impostor.EventsLog();

  char shown[80] = {};
  char pinned[80] = {};
  char file[512] = {};
  ASSERT_EQ(VIREO_getKeyMismatch(relay.Address().c_str(), shown, sizeof shown, pinned,
                                 sizeof pinned, file, sizeof file),
            VIREO_OK);
  EXPECT_EQ(shown, impostor.KeyFingerprint());
  EXPECT_EQ(pinned, genuine.KeyFingerprint());
  EXPECT_EQ(file, local.File("known_servers"));

  // Forgetting the pin, as the window tells, lets the next connect pin the new key.
  std::ofstream(local.File("known_servers"), std::ios::trunc);
  ASSERT_EQ(ConnectTo(relay.Address(), kPassword, connection), VIREO_OK);
  INIT_disconnect(connection, 0);
  std::ifstream known(local.File("known_servers"));
  const std::string pins((std::istreambuf_iterator<char>(known)), {});
  EXPECT_EQ(pins, relay.Address() + " " + impostor.KeyFingerprint() + "\n");
}

// A TLS server on loopback that answers every request with what `answer` writes, with the key
// of an emulator (its files are ours to read).
class HostileServer {
 public:
  HostileServer(const RunningEmulator& keys, std::function<void(SSL*)> answer)
      : answer_(std::move(answer)) {
    context_ = SSL_CTX_new(TLS_server_method());
    const std::string state = (keys.Root() / ".zorne").string();
    SSL_CTX_use_certificate_file(context_, (state + "/tls-cert.pem").c_str(), SSL_FILETYPE_PEM);
    SSL_CTX_use_PrivateKey_file(context_, (state + "/tls-key.pem").c_str(), SSL_FILETYPE_PEM);
    listener_ = ListenOnLoopback(port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~HostileServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
    SSL_CTX_free(context_);
  }
  [[nodiscard]] std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }
  [[nodiscard]] bool Stopping() const { return stopping_; }

 private:
  void Serve() {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    SSL* ssl = SSL_new(context_);
    SSL_set_fd(ssl, client);
    char request[4096];
    if (SSL_accept(ssl) == 1 && SSL_read(ssl, request, sizeof request) > 0) answer_(ssl);
    SSL_free(ssl);
    ::close(client);
  }

  std::function<void(SSL*)> answer_;
  SSL_CTX* context_ = nullptr;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_ = false;
  std::thread thread_;
};

bool Write(SSL* ssl, const std::string& text) {
  return SSL_write(ssl, text.data(), static_cast<int>(text.size())) > 0;
}

TEST(VireoTls, AHostileServerCannotHoldOrFloodTheCaller) {
  RunningEmulator keys;
  ASSERT_TRUE(keys.Started()) << keys.Error();
  ScratchFolder local;
  UseKnownServers(local);
  struct Case {
    const char* what;
    std::function<void(SSL*, const HostileServer&)> answer;
    VIREO_STATUS expected;
  };
  const Case cases[] = {
      {"endless headers",
       [](SSL* ssl, const HostileServer& server) {
         Write(ssl, "HTTP/1.1 200 OK\r\n");
         while (!server.Stopping() && Write(ssl, "X-Filler: " + std::string(1000, 'f') + "\r\n")) {
         }
       },
       VIREO_E_PROTOCOL},
      {"endless body",
       [](SSL* ssl, const HostileServer& server) {
         Write(ssl, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
         const std::string chunk = "10000\r\n" + std::string(0x10000, 'b') + "\r\n";
         while (!server.Stopping() && Write(ssl, chunk)) {
         }
       },
       VIREO_E_TOO_LARGE},
      // Never quite silent, so only the overall deadline ends it.
      {"a trickle",
       [](SSL* ssl, const HostileServer& server) {
         Write(ssl, "HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n");
         while (!server.Stopping() && Write(ssl, "X")) {
           std::this_thread::sleep_for(std::chrono::milliseconds(200));
         }
       },
       VIREO_E_PROTOCOL},
  };
  for (const Case& test : cases) {
    const HostileServer* self = nullptr;
    HostileServer server(keys, [&test, &self](SSL* ssl) { test.answer(ssl, *self); });
    self = &server;
    const auto start = std::chrono::steady_clock::now();
    VIREO_CONNECTION connection = 0;
    EXPECT_EQ(ConnectTo(server.Address(), "RONDEL", connection), test.expected) << test.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40)) << test.what;
  }
}

}  // namespace
}  // namespace azu::test
