// The server path measured against a running zorne-emulator (see bench/server_bench.sh), each
// figure next to its target:
//  1. lock-out: 300 connections from 127.0.0.2 that never finish a request head, while 127.0.0.1
//     logs in, puts, gets and disconnects 100 times; which of them the server closes, and when;
//  2. connect + session + get + put of 4 KiB + disconnect round trips: p50, p99;
//  3. 10 MiB put and get, next to a raw loopback TCP copy and a dd of the same size in this run;
//  4. 32 administrators on their own connections for 10 s, each storing its own file and a
//     shared one guarded by the version check: errors and lost updates.
// Everything goes to the loopback addresses only.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "server/vireo.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kConfig = "/not-scsi0/dev0/maj_0.cfg";
constexpr const char* kLockoutFile = "/not-scsi0/dev0/lockout.cfg";
constexpr const char* kShared = "/not-scsi0/dev0/counter.cfg";
constexpr const char* kBig = "/harddisk2/bench/big.bin";
constexpr const char* kSilentAddress = "127.0.0.2";

// The emulator's limits these figures are judged against (emulator/http_server.h).
constexpr int kPerAddressCap = 64;
constexpr double kHeadDeadlineSeconds = 10;

constexpr std::size_t kConfigBytes = 4096;
constexpr std::size_t kBigBytes = std::size_t{10} << 20;

std::string g_server;
std::string g_password;
fs::path g_root;
fs::path g_folder;
pid_t g_emulator = 0;
std::vector<std::string> g_verdicts;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::lround(p * static_cast<double>(values.size() - 1)));
  return values[index];
}

double Median(const std::vector<double>& values) {
  return Percentile(values, 0.5);
}

// CPU seconds the emulator has used so far; nullopt without its process id.
std::optional<double> EmulatorCpuSeconds() {
  if (g_emulator <= 0) return std::nullopt;
  std::ifstream in("/proc/" + std::to_string(g_emulator) + "/stat");
  std::string line;
  std::getline(in, line);
  // Fields after the command name, which ends with the last ')': utime and stime are 14 and 15.
  const std::size_t name_end = line.rfind(')');
  if (name_end == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(name_end + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i >= 14) ticks += std::strtod(field.c_str(), nullptr);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void Verdict(bool met, const std::string& text) {
  g_verdicts.push_back(std::string(met ? "  met    " : "  MISSED ") + text);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ConfigText() {
  std::string config;
  for (int i = 0; config.size() < kConfigBytes; ++i)
    config += "setting." + std::to_string(i) + "=value\r\n";
  config.resize(kConfigBytes);
  return config;
}

long CounterIn(const fs::path& file) {
  const std::string text = ReadAll(file);
  const std::size_t equals = text.find('=');
  return equals == std::string::npos ? -1 : std::strtol(text.c_str() + equals + 1, nullptr, 10);
}

VIREO_STATUS Connect(VIREO_CONNECTION* c) {
  return INIT_connect(g_server.c_str(), "admin", g_password.c_str(), 0, 0, 0, -1, -1, 1, 3, 0, c,
                      0);
}

// A connection with one file session, both closed on every way out.
class Admin {
 public:
  Admin() {
    status_ = Connect(&connection_);
    if (status_ == VIREO_OK) status_ = FT_openSession(connection_, &session_, 0);
  }
  ~Admin() {
    if (status_ == VIREO_OK) FT_closeSession(&session_, 0);
    if (connection_ != 0) INIT_disconnect(connection_, 0);
  }
  Admin(const Admin&) = delete;
  Admin& operator=(const Admin&) = delete;

  [[nodiscard]] VIREO_STATUS Status() const { return status_; }
  VIREO_STATUS Get(const char* server, const fs::path& local) {
    return FT_getFile(&session_, server, local.c_str(), 0);
  }
  VIREO_STATUS Put(const fs::path& local, const char* server) {
    return FT_putFile(&session_, local.c_str(), server, 0);
  }

 private:
  VIREO_CONNECTION connection_ = 0;
  VIREO_FT_SESSION session_{};
  VIREO_STATUS status_ = VIREO_OK;
};

bool Seed(const char* server, const std::string& content, const std::string& name) {
  const fs::path local = g_folder / name;
  WriteAll(local, content);
  Admin admin;
  return admin.Status() == VIREO_OK && admin.Put(local, server) == VIREO_OK;
}

std::optional<sockaddr_in> ServerAddress() {
  const std::size_t colon = g_server.rfind(':');
  sockaddr_in address{};
  address.sin_family = AF_INET;
  if (colon == std::string::npos ||
      inet_pton(AF_INET, g_server.substr(0, colon).c_str(), &address.sin_addr) != 1) {
    return std::nullopt;
  }
  address.sin_port = htons(static_cast<std::uint16_t>(std::atoi(g_server.c_str() + colon + 1)));
  return address;
}

// ---- 1. lock-out --------------------------------------------------------------------------

enum class Kind { kSilent, kPartialHello, kTrickle };
constexpr int kKinds = 3;
const char* const kKindNames[kKinds] = {
    "TCP only, nothing sent", "half a TLS ClientHello",
    "TLS done, request line trickled 1 byte/2 s"};

struct Hold {
  Kind kind = Kind::kSilent;
  int fd = -1;
  SSL* ssl = nullptr;
  bool connected = false;
  Clock::time_point opened;
  std::optional<Clock::time_point> closed;
};

// A TLS record header and ClientHello start that announce 512 bytes which never come.
constexpr unsigned char kHalfHello[] = {0x16, 0x03, 0x01, 0x02, 0x00, 0x01,
                                        0x00, 0x01, 0xfc, 0x03, 0x03};
constexpr char kRequestStart[] = "GET /v1/file?path=%2Fnot-scsi0%2Fdev0%2Fmaj";

void Open(Hold& hold, const sockaddr_in& server, SSL_CTX* tls) {
  hold.fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  inet_pton(AF_INET, kSilentAddress, &local.sin_addr);
  // Connect and the handshake give up rather than hang the run.
  const timeval limit{3, 0};
  setsockopt(hold.fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  setsockopt(hold.fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  if (bind(hold.fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      connect(hold.fd, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
    return;
  }
  hold.connected = true;
  hold.opened = Clock::now();
  if (hold.kind == Kind::kPartialHello) {
    static_cast<void>(send(hold.fd, kHalfHello, sizeof kHalfHello, MSG_NOSIGNAL));
  } else if (hold.kind == Kind::kTrickle) {
    hold.ssl = SSL_new(tls);
    SSL_set_fd(hold.ssl, hold.fd);
    ERR_clear_error();
    // Over the cap the server closes before the handshake ends: that is its refusal.
    if (SSL_connect(hold.ssl) != 1 ||
        SSL_write(hold.ssl, kRequestStart, sizeof kRequestStart - 1) <= 0) {
      hold.closed = Clock::now();
      return;
    }
  }
  fcntl(hold.fd, F_SETFL, fcntl(hold.fd, F_GETFL) | O_NONBLOCK);
}

// True once the server has closed or reset the connection.
bool Ended(Hold& hold) {
  if (hold.ssl == nullptr) {
    char buffer[512];
    const ssize_t n = recv(hold.fd, buffer, sizeof buffer, 0);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
  }
  // TLS 1.3 session tickets arrive after the handshake; only an end counts.
  char buffer[512];
  ERR_clear_error();
  const int n = SSL_read(hold.ssl, buffer, sizeof buffer);
  if (n > 0) return false;
  const int error = SSL_get_error(hold.ssl, n);
  return error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE;
}

bool Trickle(Hold& hold) {
  ERR_clear_error();
  const int n = SSL_write(hold.ssl, "e", 1);
  if (n > 0) return true;
  const int error = SSL_get_error(hold.ssl, n);
  return error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE;
}

void Lockout() {
  constexpr int kHolds = 300;
  constexpr int kTries = 100;
  constexpr auto kPace = std::chrono::milliseconds(50);
  constexpr auto kTrickleEvery = std::chrono::seconds(2);
  constexpr double kEarlySeconds = 5;  // well before any deadline: a close at once
  constexpr double kJudgedAt = kHeadDeadlineSeconds + 1;
  constexpr double kWatchFor = kHeadDeadlineSeconds + 3;

  const std::optional<sockaddr_in> server = ServerAddress();
  if (!server || !Seed(kLockoutFile, ConfigText(), "lockout.seed")) {
    std::puts("1. lock-out: cannot reach or seed the server");
    Verdict(false, "lock-out: not measured");
    return;
  }
  SSL_CTX* tls = SSL_CTX_new(TLS_client_method());
  // The key does not matter to a connection that is only there to be in the way.
  SSL_CTX_set_verify(tls, SSL_VERIFY_NONE, nullptr);

  std::vector<Hold> holds(kHolds);
  const auto opening = Clock::now();
  for (int i = 0; i < kHolds; ++i) {
    holds[static_cast<std::size_t>(i)].kind = static_cast<Kind>(i % kKinds);
    Open(holds[static_cast<std::size_t>(i)], *server, tls);
  }
  const double opened_in = Seconds(Clock::now() - opening);

  // The administrator on 127.0.0.1, spread over the hold so it meets the crowd all along.
  std::vector<double> times;
  int errors = 0;
  std::atomic<bool> administrator_done{false};
  std::thread administrator([&] {
    const fs::path out = g_folder / "lockout.out";
    const fs::path in = g_folder / "lockout.in";
    WriteAll(out, ConfigText());
    const auto begin = Clock::now();
    for (int i = 0; i < kTries; ++i) {
      std::this_thread::sleep_until(begin + i * kPace);
      const auto start = Clock::now();
      VIREO_STATUS s = VIREO_OK;
      {
        Admin admin;
        s = admin.Status();
        if (s == VIREO_OK) s = admin.Put(out, kLockoutFile);
        if (s == VIREO_OK) s = admin.Get(kLockoutFile, in);
      }
      times.push_back(Ms(Clock::now() - start));
      if (s != VIREO_OK) {
        ++errors;
        std::fprintf(stderr, "lock-out: try %d failed with status %d\n", i, s);
      }
    }
    administrator_done = true;
  });

  auto next_trickle = Clock::now() + kTrickleEvery;
  Clock::time_point first_open = Clock::now();
  Clock::time_point last_open = opening;
  for (const Hold& hold : holds) {
    if (!hold.connected) continue;
    first_open = std::min(first_open, hold.opened);
    last_open = std::max(last_open, hold.opened);
  }
  // What the crowd alone costs the server: from the last try to just before the first deadline.
  const auto quiet_until = first_open + std::chrono::duration<double>(kHeadDeadlineSeconds - 0.5);
  std::optional<std::pair<Clock::time_point, double>> quiet_from;
  std::optional<double> quiet_cores;
  while (Clock::now() < last_open + std::chrono::duration<double>(kWatchFor)) {
    std::vector<pollfd> watched;
    std::vector<Hold*> owners;
    for (Hold& hold : holds) {
      if (!hold.connected || hold.closed) continue;
      watched.push_back({hold.fd, POLLIN | POLLRDHUP, 0});
      owners.push_back(&hold);
    }
    if (watched.empty()) break;
    poll(watched.data(), watched.size(), 100);
    const auto now = Clock::now();
    for (std::size_t i = 0; i < watched.size(); ++i) {
      if (watched[i].revents != 0 && Ended(*owners[i])) owners[i]->closed = now;
    }
    if (!quiet_from && administrator_done && now < quiet_until) {
      if (const auto cpu = EmulatorCpuSeconds()) quiet_from.emplace(now, *cpu);
    }
    if (quiet_from && !quiet_cores && now >= quiet_until) {
      if (const auto cpu = EmulatorCpuSeconds())
        quiet_cores = (*cpu - quiet_from->second) / Seconds(now - quiet_from->first);
    }
    if (now >= next_trickle) {
      next_trickle = now + kTrickleEvery;
      for (Hold* hold : owners)
        if (hold->ssl != nullptr && !hold->closed && !Trickle(*hold)) hold->closed = now;
    }
  }
  administrator.join();

  struct Tally {
    int opened = 0, failed = 0, early = 0, in_time = 0, late = 0, open = 0;
    double early_max = 0, held_min = 1e9, held_max = 0;
  };
  Tally kinds[kKinds];
  Tally all;
  for (const Hold& hold : holds) {
    for (Tally* t : {&kinds[static_cast<int>(hold.kind)], &all}) {
      if (!hold.connected) {
        ++t->failed;
        continue;
      }
      ++t->opened;
      if (!hold.closed) {
        ++t->open;
        continue;
      }
      const double after = Seconds(*hold.closed - hold.opened);
      if (after < kEarlySeconds) {
        ++t->early;
        t->early_max = std::max(t->early_max, after);
        continue;
      }
      ++(after <= kJudgedAt ? t->in_time : t->late);
      t->held_min = std::min(t->held_min, after);
      t->held_max = std::max(t->held_max, after);
    }
  }
  for (Hold& hold : holds) {
    if (hold.ssl != nullptr) SSL_free(hold.ssl);
    if (hold.fd >= 0) close(hold.fd);
  }
  SSL_CTX_free(tls);

  const int held = all.in_time + all.late + all.open;
  std::printf("1. Lock-out: %d connections from %s opened in %.2f s (%d could not connect)\n",
              all.opened, kSilentAddress, opened_in, all.failed);
  std::printf("   %-44s %6s %9s %12s %6s %9s\n", "kind", "opened", "at once", "by deadline",
              "later", "still open");
  for (int k = 0; k < kKinds; ++k) {
    const Tally& t = kinds[k];
    std::printf("   %-44s %6d %9d %12d %6d %9d\n", kKindNames[k], t.opened, t.early, t.in_time,
                t.late, t.open);
  }
  std::printf(
      "   closed at once (per-address cap %d, or the handshake refused): %d, each within %.2f s "
      "of its connect\n",
      kPerAddressCap, all.early, all.early_max);
  std::printf("   accepted and held: %d; closed within %.0f s of connect: %d", held, kJudgedAt,
              all.in_time);
  if (all.in_time + all.late > 0)
    std::printf(" (%.2f-%.2f s after connect)", all.held_min, all.held_max);
  std::printf("; later: %d; still open after %.0f s: %d\n", all.late, kWatchFor, all.open);
  if (quiet_cores) {
    std::printf(
        "   emulator CPU while only the held connections were there (between the last try and "
        "the first deadline): %.2f cores busy\n",
        *quiet_cores);
  }
  std::printf(
      "   meanwhile from 127.0.0.1, %zu x (login + put 4 KiB + get + disconnect), one every "
      "%lld ms: p50 %.2f ms, p99 %.2f ms, max %.2f ms, errors %d\n",
      times.size(), static_cast<long long>(kPace.count()), Median(times), Percentile(times, 0.99),
      times.empty() ? 0 : *std::max_element(times.begin(), times.end()), errors);

  char text[200];
  std::snprintf(text, sizeof text, "lock-out: 127.0.0.1 p99 %.2f ms < 1000 ms, errors %d = 0",
                Percentile(times, 0.99), errors);
  Verdict(Percentile(times, 0.99) < 1000 && errors == 0 && !times.empty(), text);
  std::snprintf(text, sizeof text,
                "lock-out: held connections closed within %.0f s of connect: %d of %d", kJudgedAt,
                all.in_time, held);
  Verdict(held > 0 && all.in_time == held, text);
  std::snprintf(text, sizeof text,
                "lock-out: at most %d held from one address at once: %d held", kPerAddressCap,
                held);
  // The crowd is opened in one go, so no more than the cap can have been held.
  Verdict(held <= kPerAddressCap && all.failed == 0, text);
}

// ---- 2. configure round trip --------------------------------------------------------------

void RoundTrips() {
  constexpr int kWarmUp = 10;
  constexpr int kRuns = 200;
  if (!Seed(kConfig, ConfigText(), "seed.cfg")) {
    std::puts("2. Round trip: cannot seed the server");
    Verdict(false, "round trip: not measured");
    return;
  }
  // The whole trip, and its steps for where the time goes.
  std::vector<double> times;
  std::vector<double> steps[5];
  const char* const step_names[5] = {"connect+login", "session", "get", "put",
                                     "close+disconnect"};
  int errors = 0;
  const fs::path local = g_folder / "round.cfg";
  for (int i = 0; i < kWarmUp + kRuns; ++i) {
    Clock::time_point marks[6];
    marks[0] = Clock::now();
    VIREO_CONNECTION c = 0;
    VIREO_FT_SESSION session{};
    VIREO_STATUS s = Connect(&c);
    marks[1] = Clock::now();
    const bool opened = s == VIREO_OK && (s = FT_openSession(c, &session, 0)) == VIREO_OK;
    marks[2] = Clock::now();
    if (s == VIREO_OK) s = FT_getFile(&session, kConfig, local.c_str(), 0);
    marks[3] = Clock::now();
    if (s == VIREO_OK) s = FT_putFile(&session, local.c_str(), kConfig, 0);
    marks[4] = Clock::now();
    if (opened) FT_closeSession(&session, 0);
    if (c != 0) INIT_disconnect(c, 0);
    marks[5] = Clock::now();
    if (i < kWarmUp) continue;
    times.push_back(Ms(marks[5] - marks[0]));
    for (int k = 0; k < 5; ++k) steps[k].push_back(Ms(marks[k + 1] - marks[k]));
    if (s != VIREO_OK) ++errors;
  }
  std::printf(
      "2. Round trip (TLS connect + login + session + get + put 4 KiB + disconnect), %zu runs: "
      "p50 %.2f ms, p99 %.2f ms, errors %d\n   steps, p50:",
      times.size(), Median(times), Percentile(times, 0.99), errors);
  for (int k = 0; k < 5; ++k) std::printf(" %s %.2f ms%s", step_names[k], Median(steps[k]),
                                          k < 4 ? "," : "\n");
  char text[200];
  std::snprintf(text, sizeof text, "round trip: p50 %.2f ms < 3 ms, errors %d = 0", Median(times),
                errors);
  Verdict(Median(times) < 3 && errors == 0, text);
}

// ---- 3. bulk ------------------------------------------------------------------------------

// Seconds for `bytes` from one thread to another over a TCP connection on 127.0.0.1, from the
// first write to the last byte read; nullopt when the copy failed.
std::optional<double> RawLoopbackSeconds(std::size_t bytes) {
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const int sender = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int receiver = -1;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      listen(listener, 1) == 0 &&
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
      connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    receiver = accept(listener, nullptr, nullptr);
  }
  close(listener);
  if (receiver < 0) {
    close(sender);
    return std::nullopt;
  }

  Clock::time_point done;
  std::size_t got = 0;
  std::thread reader([receiver, bytes, &done, &got] {
    std::vector<char> buffer(kChunk);
    while (got < bytes) {
      const ssize_t n = read(receiver, buffer.data(), buffer.size());
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    done = Clock::now();
  });
  const std::string data(kChunk, 'x');
  const auto start = Clock::now();
  std::size_t sent = 0;
  while (sent < bytes) {
    const ssize_t n = write(sender, data.data(), std::min(kChunk, bytes - sent));
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  reader.join();
  close(sender);
  close(receiver);
  if (got < bytes) return std::nullopt;
  return Seconds(done - start);
}

// dd's own figure for writing `bytes` of zeros and syncing them, in the emulator root's file
// system; nullopt when dd failed.
std::optional<double> DdSeconds(std::size_t bytes) {
  const fs::path target = g_root / ".dd-bench.tmp";
  const std::string of = "of=" + target.string();
  const std::string count = "count=" + std::to_string(bytes >> 20);
  const char* const argv[] = {"dd", "if=/dev/zero", of.c_str(), "bs=1M", count.c_str(),
                              "conv=fsync", nullptr};
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDERR_FILENO);
  // dd's summary line is read in the C locale's words.
  std::vector<char*> env;
  std::string c_locale = "LC_ALL=C";
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, "LC_ALL=", 7) != 0) env.push_back(*e);
  env.push_back(c_locale.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "dd", &actions, nullptr, const_cast<char**>(argv),
                                   env.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string output;
  char buffer[512];
  ssize_t n = 0;
  while (spawned == 0 && (n = read(pipe_fds[0], buffer, sizeof buffer)) > 0)
    output.append(buffer, static_cast<std::size_t>(n));
  close(pipe_fds[0]);
  int status = 1;
  if (spawned == 0) waitpid(pid, &status, 0);
  fs::remove(target);
  // "10485760 bytes (10 MB, 10 MiB) copied, 0.0213 s, 492 MB/s"
  const std::size_t copied = output.find("copied, ");
  if (spawned != 0 || status != 0 || copied == std::string::npos) {
    std::fprintf(stderr, "dd failed: %s\n", output.c_str());
    return std::nullopt;
  }
  return std::strtod(output.c_str() + copied + 8, nullptr);
}

void Bulk() {
  constexpr int kRuns = 5;
  std::string data(kBigBytes, '\0');
  for (std::size_t i = 0; i < kBigBytes; ++i) data[i] = static_cast<char>('a' + i % 26);
  const fs::path out = g_folder / "big.out";
  const fs::path in = g_folder / "big.in";
  WriteAll(out, data);
  std::vector<double> put_ms;
  std::vector<double> get_ms;
  std::vector<double> raw_ms;
  std::vector<double> dd_ms;
  int errors = 0;
  bool intact = true;
  // One round of each unmeasured: the first copy pays for the kernel's buffer growth, the first
  // store for creating the file.
  static_cast<void>(RawLoopbackSeconds(kBigBytes));
  for (int i = -1; i < kRuns; ++i) {
    {
      Admin admin;
      if (admin.Status() != VIREO_OK) {
        ++errors;
        continue;
      }
      auto start = Clock::now();
      if (admin.Put(out, kBig) != VIREO_OK) ++errors;
      const double put = Ms(Clock::now() - start);
      fs::remove(in);
      start = Clock::now();
      if (admin.Get(kBig, in) != VIREO_OK) ++errors;
      const double get = Ms(Clock::now() - start);
      intact = intact && ReadAll(in) == data;
      if (i < 0) continue;
      put_ms.push_back(put);
      get_ms.push_back(get);
    }
    if (const std::optional<double> raw = RawLoopbackSeconds(kBigBytes)) {
      raw_ms.push_back(*raw * 1000);
    } else {
      ++errors;
    }
    if (const std::optional<double> dd = DdSeconds(kBigBytes)) {
      dd_ms.push_back(*dd * 1000);
    } else {
      ++errors;
    }
  }
  const double mib = static_cast<double>(kBigBytes) / (1 << 20);
  const auto rate = [mib](double ms) { return ms > 0 ? mib / (ms / 1000) : 0; };
  const double put = Median(put_ms);
  const double get = Median(get_ms);
  const double raw = Median(raw_ms);
  const double dd = Median(dd_ms);
  std::printf("3. Bulk, 10 MiB, median of %d runs:\n", kRuns);
  std::printf("   FT_getFile          %8.1f ms %8.0f MiB/s\n", get, rate(get));
  std::printf("   FT_putFile          %8.1f ms %8.0f MiB/s\n", put, rate(put));
  std::printf("   raw loopback TCP    %8.1f ms %8.0f MiB/s\n", raw, rate(raw));
  std::printf("   dd conv=fsync       %8.1f ms %8.0f MiB/s   (in %s)\n", dd, rate(dd),
              g_root.c_str());
  const double get_ratio = rate(raw) > 0 ? rate(get) / rate(raw) : 0;
  const double put_ratio = raw + dd > 0 ? put / (raw + dd) : 0;
  std::printf(
      "   get MiB/s / raw MiB/s = %.3f; put time / (raw time + dd time) = %.2f; content intact: "
      "%s, errors %d\n",
      get_ratio, put_ratio, intact ? "yes" : "NO", errors);
  char text[200];
  std::snprintf(text, sizeof text, "bulk: get / raw throughput %.3f >= 0.25", get_ratio);
  Verdict(get_ratio >= 0.25 && errors == 0 && intact, text);
  std::snprintf(text, sizeof text, "bulk: put / (raw + dd) time %.2f <= 2", put_ratio);
  Verdict(put_ratio <= 2 && errors == 0, text);
}

// ---- 4. concurrent administrators ---------------------------------------------------------

void Concurrency() {
  constexpr int kClients = 32;
  constexpr auto kFor = std::chrono::seconds(10);
  if (!Seed(kShared, "counter=0\r\n", "counter.seed")) {
    std::puts("4. Concurrency: cannot seed the server");
    Verdict(false, "concurrency: not measured");
    return;
  }
  std::atomic<int> shared_stored{0};
  std::atomic<int> stale{0};
  std::atomic<int> errors{0};
  std::atomic<int> lost_own{0};
  std::atomic<int> own_stored{0};
  std::vector<std::vector<double>> times(kClients);
  const auto end = Clock::now() + kFor;
  std::vector<std::thread> clients;
  clients.reserve(kClients);
  for (int t = 0; t < kClients; ++t) {
    clients.emplace_back([&, t] {
      const std::string own = "/not-scsi0/dev0/admin" + std::to_string(t) + ".cfg";
      const fs::path local = g_folder / ("client" + std::to_string(t));
      const fs::path local_shared = g_folder / ("shared" + std::to_string(t));
      long stores = 0;
      // Each administrator keeps its own connection; a broken one is counted and replaced.
      std::optional<Admin> admin;
      while (Clock::now() < end) {
        if (!admin || admin->Status() != VIREO_OK) {
          admin.emplace();
          if (admin->Status() != VIREO_OK) {
            ++errors;
            continue;
          }
        }
        const auto start = Clock::now();
        VIREO_STATUS s = VIREO_OK;
        if (stores > 0) {
          s = admin->Get(own.c_str(), local);
          if (s == VIREO_OK && CounterIn(local) != stores) ++lost_own;
        }
        if (s == VIREO_OK) {
          WriteAll(local, "counter=" + std::to_string(stores + 1) + "\r\n");
          s = admin->Put(local, own.c_str());
          if (s == VIREO_OK) ++stores;
        }
        if (s == VIREO_OK) {
          s = admin->Get(kShared, local_shared);
          if (s == VIREO_OK) {
            WriteAll(local_shared, "counter=" + std::to_string(CounterIn(local_shared) + 1) + "\r\n");
            s = admin->Put(local_shared, kShared);
            if (s == VIREO_OK) {
              ++shared_stored;
            } else if (s == VIREO_E_CONFLICT) {
              ++stale;
              s = VIREO_OK;
            }
          }
        }
        times[static_cast<std::size_t>(t)].push_back(Ms(Clock::now() - start));
        if (s != VIREO_OK) {
          ++errors;
          std::fprintf(stderr, "concurrency: client %d status %d\n", t, s);
          admin.reset();
        }
      }
      admin.reset();
      // The last word on the own file: what the server holds now.
      Admin check;
      if (stores > 0 && (check.Status() != VIREO_OK || check.Get(own.c_str(), local) != VIREO_OK ||
                         CounterIn(local) != stores)) {
        ++lost_own;
      }
      own_stored += static_cast<int>(stores);
    });
  }
  for (std::thread& client : clients) client.join();
  std::vector<double> all;
  for (const auto& list : times) all.insert(all.end(), list.begin(), list.end());

  long final = -1;
  {
    const fs::path last = g_folder / "counter.last";
    Admin reader;
    if (reader.Status() == VIREO_OK && reader.Get(kShared, last) == VIREO_OK)
      final = CounterIn(last);
  }
  const long lost_shared = final < 0 ? -1 : shared_stored.load() - final;
  std::printf(
      "4. Concurrency, %d administrators x %lld s, each on its own connection (get + put own "
      "file, get + put shared file): %zu loops, p50 %.2f ms, p99 %.2f ms\n",
      kClients, static_cast<long long>(kFor.count()), all.size(), Median(all),
      Percentile(all, 0.99));
  std::printf(
      "   own files: %d stores, lost %d; shared file: %d stores, %d stale stores refused, "
      "counter %ld, lost %ld; errors %d\n",
      own_stored.load(), lost_own.load(), shared_stored.load(), stale.load(), final, lost_shared,
      errors.load());
  char text[200];
  std::snprintf(text, sizeof text, "concurrency: errors %d = 0, lost updates %ld = 0",
                errors.load(), lost_own.load() + std::max(lost_shared, 0L));
  Verdict(errors == 0 && lost_own == 0 && lost_shared == 0, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: server_bench HOST:PORT ROOT [--pid=PID] [lockout] [roundtrip] [bulk] "
                 "[concurrency]\n  ROOT: the emulator's root folder (dd writes there)\n"
                 "  PID: the emulator's process, whose CPU time the lock-out figure reads\n"
                 "  the password comes from ZORNE_ADMIN_PASSWORD\n");
    return 2;
  }
  g_server = argv[1];
  g_root = argv[2];
  const char* password = std::getenv("ZORNE_ADMIN_PASSWORD");
  g_password = password != nullptr ? password : "RONDEL";
  std::set<std::string> only;
  for (int i = 3; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.starts_with("--pid=")) {
      g_emulator = static_cast<pid_t>(std::atoi(argument.c_str() + 6));
    } else if (argument == "lockout" || argument == "roundtrip" || argument == "bulk" ||
               argument == "concurrency") {
      only.insert(argument);
    } else {
      std::fprintf(stderr, "server_bench: unknown figure %s\n", argument.c_str());
      return 2;
    }
  }
  const auto wanted = [&only](const char* name) { return only.empty() || only.contains(name); };

  std::signal(SIGPIPE, SIG_IGN);
  // Room for the crowd of held connections.
  rlimit files{};
  if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
  }
  std::string pattern = (fs::temp_directory_path() / "azubenchXXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  g_folder = pattern;

  if (wanted("lockout")) Lockout();
  std::fflush(stdout);
  if (wanted("roundtrip")) RoundTrips();
  std::fflush(stdout);
  if (wanted("bulk")) Bulk();
  std::fflush(stdout);
  if (wanted("concurrency")) Concurrency();
  fs::remove_all(g_folder);

  bool all_met = true;
  std::puts("Targets:");
  for (const std::string& verdict : g_verdicts) {
    std::puts(verdict.c_str());
    all_met = all_met && verdict.starts_with("  met");
  }
  return all_met ? 0 : 1;
}
