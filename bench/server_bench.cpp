// The server path measured against a running zorne-emulator (see bench/server_bench.sh):
//  1. connect + getFile + putFile (a 4 KiB maj_0.cfg) + disconnect round trips: p50, p99;
//  2. a 10 MiB put and get, next to a raw loopback TCP copy of the same size in this run;
//  3. 32 clients doing the fetch-change-store transaction on one file for 10 s: errors, conflicts
//     refused by the server, and whether any stored change was lost.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "server/vireo.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kConfig = "/not-scsi0/dev0/maj_0.cfg";
constexpr const char* kCounter = "/not-scsi0/dev0/counter.cfg";
constexpr const char* kBig = "/harddisk2/bench/big.bin";

std::string g_server;
std::string g_password;
fs::path g_folder;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
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

VIREO_STATUS Connect(VIREO_CONNECTION* c) {
  return INIT_connect(g_server.c_str(), "admin", g_password.c_str(), 0, 0, 0, -1, -1, 1, 3, 0, c,
                      0);
}

// One whole transaction: fetch, optionally change, store.
VIREO_STATUS RoundTrip(const fs::path& local, const char* path,
                       const std::function<void(const fs::path&)>& change) {
  VIREO_CONNECTION c = 0;
  if (VIREO_STATUS s = Connect(&c)) return s;
  VIREO_FT_SESSION session{};
  VIREO_STATUS s = FT_openSession(c, &session, 0);
  if (s == 0) s = FT_getFile(&session, path, local.c_str(), 0);
  if (s == 0 && change) change(local);
  if (s == 0) s = FT_putFile(&session, local.c_str(), path, 0);
  FT_closeSession(&session, 0);
  INIT_disconnect(c, 0);
  return s;
}

void RoundTrips() {
  std::string config;
  for (int i = 0; config.size() < 4096; ++i)
    config += "setting." + std::to_string(i) + "=value\r\n";
  config.resize(4096);
  const fs::path seed = g_folder / "seed.cfg";
  WriteAll(seed, config);
  VIREO_CONNECTION c = 0;
  VIREO_FT_SESSION session{};
  if (Connect(&c) != 0 || FT_openSession(c, &session, 0) != 0 ||
      FT_putFile(&session, seed.c_str(), kConfig, 0) != 0) {
    std::puts("round trip: cannot seed the server");
    return;
  }
  FT_closeSession(&session, 0);
  INIT_disconnect(c, 0);

  std::vector<double> times;
  int errors = 0;
  const fs::path local = g_folder / "round.cfg";
  for (int i = 0; i < 2000; ++i) {
    const auto start = Clock::now();
    if (RoundTrip(local, kConfig, nullptr) != 0) ++errors;
    times.push_back(Ms(Clock::now() - start));
  }
  std::printf(
      "round trip (connect+get+put 4 KiB+disconnect), %zu runs: p50 %.3f ms, p99 %.3f ms, "
      "errors %d\n",
      times.size(), Percentile(times, 0.5), Percentile(times, 0.99), errors);
}

double RawLoopbackMiBps(std::size_t bytes) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 1);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::thread reader([listener, bytes] {
    const int peer = accept(listener, nullptr, nullptr);
    std::vector<char> buffer(1 << 16);
    std::size_t got = 0;
    while (got < bytes) {
      const ssize_t n = read(peer, buffer.data(), buffer.size());
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    close(peer);
  });
  const int sender = socket(AF_INET, SOCK_STREAM, 0);
  connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address);
  const std::string data(bytes, 'x');
  const auto start = Clock::now();
  std::size_t sent = 0;
  while (sent < bytes) {
    const ssize_t n = write(sender, data.data() + sent, bytes - sent);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  close(sender);
  reader.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  close(listener);
  return static_cast<double>(bytes) / (1 << 20) / seconds;
}

void BigFile() {
  constexpr std::size_t kBytes = 10U << 20;
  std::string data(kBytes, '\0');
  for (std::size_t i = 0; i < kBytes; ++i) data[i] = static_cast<char>('a' + i % 26);
  const fs::path out = g_folder / "big.out";
  const fs::path in = g_folder / "big.in";
  WriteAll(out, data);
  std::vector<double> puts;
  std::vector<double> gets;
  std::vector<double> raw;
  int errors = 0;
  for (int i = 0; i < 7; ++i) {
    VIREO_CONNECTION c = 0;
    VIREO_FT_SESSION session{};
    if (Connect(&c) != 0 || FT_openSession(c, &session, 0) != 0) {
      ++errors;
      continue;
    }
    auto start = Clock::now();
    if (FT_putFile(&session, out.c_str(), kBig, 0) != 0) ++errors;
    puts.push_back(10.0 / std::chrono::duration<double>(Clock::now() - start).count());
    start = Clock::now();
    if (FT_getFile(&session, kBig, in.c_str(), 0) != 0) ++errors;
    gets.push_back(10.0 / std::chrono::duration<double>(Clock::now() - start).count());
    FT_closeSession(&session, 0);
    INIT_disconnect(c, 0);
    raw.push_back(RawLoopbackMiBps(kBytes));
  }
  const bool same = ReadAll(in) == data;
  std::printf(
      "10 MiB: put median %.0f MiB/s, get median %.0f MiB/s, raw loopback TCP copy median "
      "%.0f MiB/s; content intact: %s, errors %d\n",
      Percentile(puts, 0.5), Percentile(gets, 0.5), Percentile(raw, 0.5), same ? "yes" : "NO",
      errors);
}

void Concurrency() {
  const fs::path seed = g_folder / "counter.seed";
  WriteAll(seed, "counter=0\r\n");
  VIREO_CONNECTION c = 0;
  VIREO_FT_SESSION session{};
  if (Connect(&c) != 0 || FT_openSession(c, &session, 0) != 0 ||
      FT_putFile(&session, seed.c_str(), kCounter, 0) != 0) {
    std::puts("concurrency: cannot seed the server");
    return;
  }
  FT_closeSession(&session, 0);
  INIT_disconnect(c, 0);

  std::atomic<int> stored{0};
  std::atomic<int> conflicts{0};
  std::atomic<int> errors{0};
  std::vector<std::vector<double>> times(32);
  const auto end = Clock::now() + std::chrono::seconds(10);
  std::vector<std::thread> clients;
  for (int t = 0; t < 32; ++t) {
    clients.emplace_back([&, t] {
      const fs::path local = g_folder / ("client" + std::to_string(t));
      while (Clock::now() < end) {
        const auto start = Clock::now();
        const VIREO_STATUS s = RoundTrip(local, kCounter, [](const fs::path& file) {
          const std::string text = ReadAll(file);
          const long value = std::strtol(text.c_str() + text.find('=') + 1, nullptr, 10);
          WriteAll(file, "counter=" + std::to_string(value + 1) + "\r\n");
        });
        times[static_cast<std::size_t>(t)].push_back(Ms(Clock::now() - start));
        if (s == VIREO_OK) {
          ++stored;
        } else if (s == VIREO_E_CONFLICT) {
          ++conflicts;
        } else {
          ++errors;
        }
      }
    });
  }
  for (std::thread& client : clients) client.join();
  std::vector<double> all;
  for (const auto& list : times) all.insert(all.end(), list.begin(), list.end());

  const fs::path last = g_folder / "counter.last";
  VIREO_CONNECTION r = 0;
  VIREO_FT_SESSION rs{};
  long final = -1;
  if (Connect(&r) == 0 && FT_openSession(r, &rs, 0) == 0 &&
      FT_getFile(&rs, kCounter, last.c_str(), 0) == 0) {
    const std::string text = ReadAll(last);
    final = std::strtol(text.c_str() + text.find('=') + 1, nullptr, 10);
  }
  FT_closeSession(&rs, 0);
  INIT_disconnect(r, 0);
  std::printf(
      "32 clients x 10 s: %zu transactions, p50 %.3f ms, p99 %.3f ms; stored %d, stale "
      "stores refused %d, errors %d; counter %ld: %s\n",
      all.size(), Percentile(all, 0.5), Percentile(all, 0.99), stored.load(), conflicts.load(),
      errors.load(), final, final == stored.load() ? "no lost update" : "UPDATES LOST");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: server_bench HOST:PORT PASSWORD\n");
    return 2;
  }
  g_server = argv[1];
  g_password = argv[2];
  std::string pattern = (fs::temp_directory_path() / "azubenchXXXXXX").string();
  g_folder = mkdtemp(pattern.data());
  RoundTrips();
  BigFile();
  Concurrency();
  fs::remove_all(g_folder);
  return 0;
}
