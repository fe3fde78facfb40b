// The real zorne-emulator program, driven over loopback HTTPS and UDP.

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "emulator/digest.h"
#include "emulator/file_store.h"
#include "tests/emulator/emulator_test_support.h"
#include "tests/support/running_emulator.h"

namespace azu::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::chrono::seconds kPatience{20};

// An HTTPS client of the emulator, optionally from another loopback address. It trusts any key:
// what these tests check is the server, not the pinning.
std::unique_ptr<httplib::SSLClient> ClientOf(const RunningEmulator& emulator,
                                             const char* from = nullptr) {
  auto client = std::make_unique<httplib::SSLClient>(emulator.Host(), emulator.Port());
  client->enable_server_certificate_verification(false);
  client->set_connection_timeout(5);
  client->set_read_timeout(30);
  client->set_write_timeout(30);
  if (from != nullptr) {
    client->set_socket_options([from](socket_t sock) {
      sockaddr_in local{};
      local.sin_family = AF_INET;
      ::inet_pton(AF_INET, from, &local.sin_addr);
      ::bind(sock, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    });
  }
  return client;
}

int LoginStatus(httplib::SSLClient& client, const std::string& password, std::string* token) {
  const httplib::Result result = client.Post("/v1/session", "user=admin&password=" + password,
                                             "application/x-www-form-urlencoded");
  if (!result) return -1;
  if (token != nullptr) *token = result->body;
  return result->status;
}

std::string Login(httplib::SSLClient& client, const RunningEmulator& emulator) {
  std::string token;
  EXPECT_EQ(LoginStatus(client, emulator.Password(), &token), 200);
  return token;
}

httplib::Headers Bearer(const std::string& token) {
  return {{"Authorization", "Bearer " + token}};
}

std::string FileTarget(const std::string& server_path) {
  return "/v1/file?path=" + httplib::detail::encode_query_param(server_path);
}

// The status of storing `content` under `server_path`; -1 when no answer came.
int PutStatus(httplib::SSLClient& client, const std::string& token, const std::string& server_path,
              const std::string& content) {
  const auto put = client.Put(FileTarget(server_path).c_str(), Bearer(token), content,
                              "application/octet-stream");
  return put ? put->status : -1;
}

// Waits until the events log holds `text`; false when it never comes.
bool WaitForLog(const RunningEmulator& emulator, const std::string& text) {
  const auto give_up = std::chrono::steady_clock::now() + kPatience;
  while (emulator.EventsLog().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// A raw connection to the emulator, in TLS or not, for what an HTTP client library would not
// send.
class RawConnection {
 public:
  // `offer`: what the client offers (protocol versions, suites), for a TLS connection.
  explicit RawConnection(const RunningEmulator& emulator, bool tls = true,
                         const std::function<void(SSL_CTX*)>& offer = nullptr) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(emulator.Port());
    ::inet_pton(AF_INET, emulator.Host().c_str(), &server.sin_addr);
    connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0;
    if (!connected_ || !tls) return;
    context_ = SSL_CTX_new(TLS_client_method());
    if (offer) offer(context_);
    ssl_ = SSL_new(context_);
    SSL_set_fd(ssl_, fd_);
    connected_ = SSL_connect(ssl_) == 1;
  }
  ~RawConnection() {
    if (ssl_ != nullptr) SSL_free(ssl_);
    if (context_ != nullptr) SSL_CTX_free(context_);
    ::close(fd_);
  }
  [[nodiscard]] bool Connected() const { return connected_; }
  [[nodiscard]] bool Send(std::string_view data) const {
    if (!connected_) return false;
    if (ssl_ != nullptr) {
      std::size_t written = 0;
      return SSL_write_ex(ssl_, data.data(), data.size(), &written) == 1 && written == data.size();
    }
    return ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(data.size());
  }

 private:
  int fd_ = -1;
  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
  bool connected_ = false;
};

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(EmulatorProcess, AnnouncesItsRealPortOnceAndServesAtOnce) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  EXPECT_EQ(emulator.Host(), "127.0.0.1");
  EXPECT_NE(emulator.Port(), 0);
  EXPECT_TRUE(
      emulator.Output().starts_with("zorne-emulator listening on " + emulator.Address() + "\n"));
  auto client = ClientOf(emulator);
  Login(*client, emulator);
  // Events show on standard output as in the log.
  EXPECT_THAT(emulator.Output(), HasSubstr(emulator.EventsLog()));
  EXPECT_EQ(emulator.Stop(), 0);
}

// TLS 1.3, and TLS 1.2 with AEAD suites only: a client that offers nothing else is refused.
TEST(EmulatorProcess, SpeaksTls13AndTls12WithAeadSuitesOnly) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  const struct {
    int version;
    const char* suites;  // TLS 1.2 and older
    bool accepted;
  } cases[] = {
      {TLS1_3_VERSION, "", true},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES128-GCM-SHA256", true},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES256-GCM-SHA384", true},
      {TLS1_2_VERSION, "ECDHE-ECDSA-CHACHA20-POLY1305", true},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES128-SHA", false},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES256-SHA", false},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES128-SHA256", false},
      {TLS1_2_VERSION, "ECDHE-ECDSA-AES256-SHA384", false},
      {TLS1_1_VERSION, "ECDHE-ECDSA-AES128-SHA", false},
  };
  for (const auto& c : cases) {
    const RawConnection connection(emulator, true, [&](SSL_CTX* context) {
      SSL_CTX_set_min_proto_version(context, c.version);
      SSL_CTX_set_max_proto_version(context, c.version);
      // Security level 0, so the client really offers what the case names.
      SSL_CTX_set_cipher_list(context, (std::string(c.suites) + ":@SECLEVEL=0").c_str());
    });
    EXPECT_EQ(connection.Connected(), c.accepted) << c.version << " " << c.suites;
  }
}

TEST(EmulatorProcess, FilesTravelByteExactAndEveryStepIsLogged) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  auto client = ClientOf(emulator);
  EXPECT_EQ(LoginStatus(*client, "wrong", nullptr), 401);
  const std::string token = Login(*client, emulator);
  static constexpr char kContent[] = "[panel]\r\nlang=fr\r\nname=B\xC3\xBCro\r\n\0tail\r\n";
  const std::string content(kContent, sizeof kContent - 1);
  const std::string target = FileTarget("/not-scsi0/conf/panel.ini");

  const auto put = client->Put(target.c_str(), Bearer(token), content, "application/octet-stream");
  ASSERT_TRUE(put);
  EXPECT_EQ(put->status, 204);
  EXPECT_EQ(emulator.ReadServerFile("/not-scsi0/conf/panel.ini"), content);

  const auto get = client->Get(target.c_str(), Bearer(token));
  ASSERT_TRUE(get);
  EXPECT_EQ(get->status, 200);
  EXPECT_EQ(get->body, content);
  EXPECT_EQ(get->get_header_value("ETag"),
            "\"" + emulator::HexOf(emulator::Sha256(content)) + "\"");

  const auto refused =
      client->Get(FileTarget("/harddisk2/../../etc/passwd").c_str(), Bearer(token));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 403);

  const auto deleted = client->Delete(target.c_str(), Bearer(token));
  ASSERT_TRUE(deleted);
  EXPECT_EQ(deleted->status, 204);
  EXPECT_EQ(emulator.ReadServerFile("/not-scsi0/conf/panel.ini"), std::nullopt);

  const auto logout = client->Delete("/v1/session", Bearer(token));
  ASSERT_TRUE(logout);
  EXPECT_EQ(logout->status, 204);
  EXPECT_THAT(emulator.Events(), ElementsAre("auth-failure", "connect", "put", "get", "refused",
                                             "delete", "disconnect"));
}

TEST(EmulatorProcess, RebootAndAttributesOverHttp) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  auto first = ClientOf(emulator);
  auto second = ClientOf(emulator);
  const std::string token = Login(*first, emulator);
  const std::string other = Login(*second, emulator);
  const auto set = first->Post("/v1/attribute", Bearer(token), "name=Panel.Lang&value=fr",
                               "application/x-www-form-urlencoded");
  ASSERT_TRUE(set);
  EXPECT_EQ(set->status, 204);
  EXPECT_EQ(emulator.Attributes(), "Panel.Lang=fr\n");

  const auto reboot = first->Post("/v1/server/reboot", Bearer(token), "", "text/plain");
  ASSERT_TRUE(reboot);
  EXPECT_EQ(reboot->status, 204);
  for (auto* client : {first.get(), second.get()}) {
    const std::string& used = client == first.get() ? token : other;
    const auto after = client->Get(FileTarget("/harddisk2/x").c_str(), Bearer(used));
    ASSERT_TRUE(after);
    EXPECT_EQ(after->status, 401);
  }
  EXPECT_THAT(emulator.EventsLog(), HasSubstr(" reboot client=127.0.0.1 sessions=2\n"));
}

TEST(EmulatorProcess, AGuessingAddressIsSlowedWithoutHoldingUpOthers) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  // Four wrong passwords in a row from 127.0.0.2: each answer comes later than the one before.
  auto guessing = std::async(std::launch::async, [&] {
    auto client = ClientOf(emulator, "127.0.0.2");
    std::vector<int> statuses;
    for (int i = 0; i < 4; ++i) statuses.push_back(LoginStatus(*client, "guess", nullptr));
    return statuses;
  });
  ASSERT_TRUE(WaitForLog(emulator, "auth-failure client=127.0.0.2"));
  // Meanwhile an administrator on 127.0.0.1 logs in and works.
  auto client = ClientOf(emulator);
  const std::string token = Login(*client, emulator);
  EXPECT_EQ(PutStatus(*client, token, "/harddisk2/a.txt", "a"), 204);
  EXPECT_THAT(guessing.get(), ElementsAre(401, 401, 401, 401));
  // The administrator's work came in while the guesses waited out their growing delays.
  EXPECT_THAT(emulator.Events(), ElementsAre("auth-failure", "connect", "put", "auth-failure",
                                             "auth-failure", "auth-failure"));
  // And the delay does not lock the right password out of that address.
  auto late = ClientOf(emulator, "127.0.0.2");
  EXPECT_EQ(LoginStatus(*late, emulator.Password(), nullptr), 200);
}

TEST(EmulatorProcess, ServesManyAdministratorsAtOnce) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  constexpr int kAdministrators = 32;
  std::vector<std::future<bool>> sessions;
  for (int i = 0; i < kAdministrators; ++i) {
    sessions.push_back(std::async(std::launch::async, [&emulator, i] {
      auto client = ClientOf(emulator);
      std::string token;
      if (LoginStatus(*client, emulator.Password(), &token) != 200) return false;
      const std::string target = FileTarget("/harddisk2/admin/" + std::to_string(i) + ".ini");
      const std::string content = "admin=" + std::to_string(i) + "\r\n";
      const auto put = client->Put(target.c_str(), Bearer(token), content, "text/plain");
      const auto get = client->Get(target.c_str(), Bearer(token));
      return put && put->status == 204 && get && get->status == 200 && get->body == content;
    }));
  }
  for (auto& session : sessions) EXPECT_TRUE(session.get());
  EXPECT_EQ(NamesIn(emulator.Root() / "admin").size(), static_cast<std::size_t>(kAdministrators));
}

TEST(EmulatorProcess, ABodyOver16MiBIsRefusedAndTheOldFileKept) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ASSERT_TRUE(emulator.WriteServerFile("/harddisk2/big.bin", "old"));
  auto client = ClientOf(emulator);
  const std::string token = Login(*client, emulator);
  const auto put = client->Put(FileTarget("/harddisk2/big.bin").c_str(), Bearer(token),
                               std::string(emulator::FileStore::kMaxFileSize + 1, 'x'),
                               "application/octet-stream");
  ASSERT_TRUE(put) << httplib::to_string(put.error());
  EXPECT_EQ(put->status, 413);
  EXPECT_EQ(emulator.ReadServerFile("/harddisk2/big.bin"), "old");
  EXPECT_THAT(NamesIn(emulator.Root()), ElementsAre(".zorne", "big.bin"));
  // The server goes on serving.
  auto next = ClientOf(emulator);
  EXPECT_EQ(
      next->Get(FileTarget("/harddisk2/big.bin").c_str(), Bearer(Login(*next, emulator)))->body,
      "old");
}

TEST(EmulatorProcess, ATransferCutInTheMiddleLeavesTheOldFile) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ASSERT_TRUE(emulator.WriteServerFile("/harddisk2/conf.ini", "old content\r\n"));
  auto client = ClientOf(emulator);
  const std::string token = Login(*client, emulator);
  {
    RawConnection connection(emulator);
    ASSERT_TRUE(connection.Send("PUT " + FileTarget("/harddisk2/conf.ini") +
                                " HTTP/1.1\r\nHost: zorne\r\nAuthorization: Bearer " + token +
                                "\r\nContent-Length: 100000\r\n\r\n" + std::string(30000, 'n')));
  }  // closed after a third of the body
  ASSERT_TRUE(WaitForLog(emulator, "reason=transfer-cut"));
  EXPECT_EQ(emulator.ReadServerFile("/harddisk2/conf.ini"), "old content\r\n");
  EXPECT_THAT(NamesIn(emulator.Root()), ElementsAre(".zorne", "conf.ini"));
}

TEST(EmulatorProcess, AStalledOrMalformedClientChangesNothingAndBlocksNobody) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  ASSERT_TRUE(emulator.WriteServerFile("/harddisk2/x", "x"));
  RawConnection stalled(emulator);
  ASSERT_TRUE(stalled.Send("GET /v1/fi"));  // and nothing more
  RawConnection silent(emulator, false);    // not even a TLS hello
  for (const bool tls : {true, false}) {
    for (const char* garbage : {"\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n",
                                "GET /v1/file?path=%2 HTTP/1.1\r\nHost: z\r\n\r\n",
                                "PUT /v1/file HTTP/1.1\r\nContent-Length: -5\r\n\r\n",
                                "BREW /v1/file HTTP/1.1\r\n\r\n"}) {
      RawConnection connection(emulator, tls);
      EXPECT_TRUE(connection.Send(garbage));
    }
  }
  auto client = ClientOf(emulator);
  const std::string token = Login(*client, emulator);
  const auto get = client->Get(FileTarget("/harddisk2/x").c_str(), Bearer(token));
  ASSERT_TRUE(get);
  EXPECT_EQ(get->body, "x");
  EXPECT_THAT(NamesIn(emulator.Root()), ElementsAre(".zorne", "x"));
}

TEST(EmulatorProcess, ACrowdOfSilentConnectionsFromOneAddressLocksNobodyOut) {
  RunningEmulator emulator;
  ASSERT_TRUE(emulator.Started()) << emulator.Error();
  std::vector<int> crowd;
  for (int i = 0; i < 300; ++i) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, "127.0.0.2", &address.sin_addr);
    ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    address.sin_port = htons(emulator.Port());
    ::inet_pton(AF_INET, emulator.Host().c_str(), &address.sin_addr);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    crowd.push_back(fd);
  }
  // An administrator elsewhere works as usual.
  auto client = ClientOf(emulator);
  const std::string token = Login(*client, emulator);
  EXPECT_EQ(PutStatus(*client, token, "/harddisk2/a.txt", "a"), 204);
  const auto get = client->Get(FileTarget("/harddisk2/a.txt").c_str(), Bearer(token));
  ASSERT_TRUE(get);
  EXPECT_EQ(get->body, "a");
  // The crowd is closed: beyond the cap at once, the rest when the head deadline passes.
  const auto give_up = std::chrono::steady_clock::now() + kPatience;
  std::size_t open = crowd.size();
  while (open > 0 && std::chrono::steady_clock::now() < give_up) {
    open = 0;
    for (const int fd : crowd) {
      char byte = 0;
      const ssize_t got = ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
      if (got < 0 && errno == EAGAIN) ++open;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  for (const int fd : crowd) ::close(fd);
  EXPECT_EQ(open, 0U);
}

TEST(EmulatorProcess, LeftoversOfACrashGoAtStartAndAPasswordFileMustBePrivate) {
  namespace fs = std::filesystem;
  const emulator::test::ScratchFolder scratch;
  const fs::path root = scratch.Path() / "root";
  fs::create_directories(root / "sub");
  for (const char* leftover : {"sub/.zorne-store-1a2b", ".zorne-store-3c4d"}) {
    std::ofstream(root / leftover) << "half a file";
  }
  std::ofstream(root / "sub" / "kept.ini") << "kept";
  EmulatorOptions options;
  options.root = root;
  {
    RunningEmulator emulator(options);
    ASSERT_TRUE(emulator.Started()) << emulator.Error();
    EXPECT_THAT(NamesIn(root), ElementsAre(".zorne", "sub"));
    EXPECT_THAT(NamesIn(root / "sub"), ElementsAre("kept.ini"));
  }
  const fs::path password = scratch.Path() / "password";
  std::ofstream(password) << "RONDEL\n";
  fs::permissions(password, fs::perms::owner_read | fs::perms::group_read);
  options.extra_args = {"--admin-password-file", password.string()};
  RunningEmulator refused(options);
  EXPECT_FALSE(refused.Started());
  EXPECT_NE(refused.Stop(), 0);
  EXPECT_THAT(refused.ErrorOutput(), HasSubstr(password.string()));
}

TEST(EmulatorProcess, AnswersDiscoveryToTheAskerOnly) {
  EmulatorOptions options;
  options.name = "Azu Lab 7";
  options.model = "QV5020";
  RunningEmulator emulator(options);
  ASSERT_TRUE(emulator.Started()) << emulator.Error();

  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, "127.0.0.1", &local.sin_addr);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0);
  const timeval patience{static_cast<time_t>(kPatience.count()), 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(emulator.Port());
  ::inet_pton(AF_INET, "127.0.0.1", &server.sin_addr);
  const auto* to = reinterpret_cast<const sockaddr*>(&server);
  for (const std::string_view datagram :
       {std::string_view("ZORNE-DISCOVER 2\n"), std::string_view("\0\xff", 2),
        std::string_view("ZORNE-DISCOVER 1\n")}) {
    ASSERT_EQ(::sendto(fd, datagram.data(), datagram.size(), 0, to, sizeof server),
              static_cast<ssize_t>(datagram.size()));
  }
  char answer[2048];
  sockaddr_in from{};
  socklen_t from_size = sizeof from;
  const ssize_t got =
      ::recvfrom(fd, answer, sizeof answer, 0, reinterpret_cast<sockaddr*>(&from), &from_size);
  ::close(fd);
  ASSERT_GT(got, 0);
  EXPECT_EQ(from.sin_port, server.sin_port);
  EXPECT_EQ(std::string(answer, got),
            "ZORNE-HERE 1\naddress=127.0.0.1\nname=Azu Lab 7\nmodel=QV5020\nnumber=1\nkey=" +
                emulator.KeyFingerprint() + "\n");
  // Only the last datagram was the request; the two before were refused, in order.
  EXPECT_THAT(emulator.Events(), ElementsAre("refused", "refused", "discover"));
}

TEST(EmulatorProcess, StopsCleanlyOnSigtermOrSigintEvenWhileBusy) {
  // The stop closes connections under the clients' writes; they must see an error, not die.
  std::signal(SIGPIPE, SIG_IGN);
  for (const int signal : {SIGTERM, SIGINT}) {
    RunningEmulator emulator;
    ASSERT_TRUE(emulator.Started()) << emulator.Error();
    // An open keep-alive connection and a login sitting in its failure delay.
    auto idle = ClientOf(emulator);
    Login(*idle, emulator);
    RawConnection stalled(emulator);
    ASSERT_TRUE(stalled.Send("PUT /v1/file?path=/harddisk2/x HTTP/1.1\r\nContent-Length: 9\r\n"));
    auto guessing = std::async(std::launch::async, [&] {
      auto client = ClientOf(emulator, "127.0.0.3");
      for (int i = 0; i < 3; ++i) LoginStatus(*client, "guess", nullptr);
    });
    ASSERT_TRUE(WaitForLog(emulator, "auth-failure"));
    EXPECT_EQ(emulator.Stop(signal), 0) << emulator.ErrorOutput();
    guessing.get();
    EXPECT_EQ(emulator.ErrorOutput(), "");
  }
}

TEST(EmulatorProcess, ABadCommandLineOrATakenPortEndsItWithAReason) {
  EmulatorOptions bad;
  bad.extra_args = {"--bogus", "1"};
  RunningEmulator refused(bad);
  EXPECT_FALSE(refused.Started());
  EXPECT_EQ(refused.Stop(), 2);
  EXPECT_THAT(refused.ErrorOutput(), HasSubstr("unknown option --bogus"));

  RunningEmulator first;
  ASSERT_TRUE(first.Started()) << first.Error();
  EmulatorOptions same;
  same.listen = first.Address();
  RunningEmulator second(same);
  EXPECT_FALSE(second.Started());
  EXPECT_EQ(second.Stop(), 1);
  EXPECT_THAT(second.ErrorOutput(), HasSubstr(first.Address()));
}

}  // namespace
}  // namespace azu::test
