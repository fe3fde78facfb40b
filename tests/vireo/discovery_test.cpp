// Discovery through the C interface, against real zorne-emulators on loopback addresses.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "server/vireo.h"
#include "tests/support/running_emulator.h"

namespace azu::test {
namespace {

// What the program takes from one entry.
struct Entry {
  std::string address;
  std::string name;
  std::string model;

  friend bool operator==(const Entry&, const Entry&) = default;
  friend bool operator<(const Entry& a, const Entry& b) {
    return std::tie(a.address, a.name, a.model) < std::tie(b.address, b.name, b.model);
  }
};

// Runs DISCOV_getZorneList for one second, frees the list, returns its entries sorted.
std::vector<Entry> Discover(std::int32_t capacity, VIREO_STATUS& status) {
  DISCOV_ZorneEx** list = nullptr;
  std::int32_t count = -1;
  status = DISCOV_getZorneList(1, capacity, 0, 0, 0, 0, 0, &list, &count, 0);
  std::vector<Entry> entries;
  if (status != VIREO_OK) {
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0);
    return entries;
  }
  EXPECT_NE(list, nullptr);
  for (std::int32_t i = 0; i < count; ++i) {
    const DISCOV_ZorneEx* entry = list[i];
    EXPECT_NE(entry->number, 0U);
    EXPECT_GE(entry->modelCount, 1U);
    entries.push_back(Entry{entry->address, entry->name, entry->modelCodes[0]});
  }
  EXPECT_EQ(DISCOV_freeDiscoveredZorneExList(list, count, 0), VIREO_OK);
  std::sort(entries.begin(), entries.end());
  return entries;
}

// A UDP socket on a loopback address that answers each datagram with `answers`, in order
// (port 0: a free port).
class FakeResponder {
 public:
  FakeResponder(const std::string& address, std::uint16_t port, std::vector<std::string> answers)
      : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)), answers_(std::move(answers)) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &local.sin_addr);
    socklen_t size = sizeof local;
    bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&local), size) == 0 &&
             ::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size) == 0;
    port_ = ntohs(local.sin_port);
    if (bound_) {
      thread_ = std::thread([this] { Serve(); });
    }
  }
  ~FakeResponder() {
    stop_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
    ::close(fd_);
  }
  FakeResponder(const FakeResponder&) = delete;
  FakeResponder& operator=(const FakeResponder&) = delete;
  FakeResponder(FakeResponder&&) = delete;
  FakeResponder& operator=(FakeResponder&&) = delete;

  [[nodiscard]] bool Bound() const { return bound_; }
  [[nodiscard]] std::uint16_t Port() const { return port_; }

 private:
  void Serve() {
    while (!stop_) {
      pollfd wait{fd_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) {
        continue;
      }
      char buffer[64];
      sockaddr_in from{};
      socklen_t size = sizeof from;
      if (::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size) <
          0) {
        continue;
      }
      // Only ever back to the asker, which is on loopback.
      if ((ntohl(from.sin_addr.s_addr) >> 24) != 127) {
        continue;
      }
      for (const std::string& answer : answers_) {
        ::sendto(fd_, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from),
                 size);
      }
    }
  }

  int fd_;
  std::vector<std::string> answers_;
  bool bound_ = false;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

// Three emulators on 127.0.0.2, .3 and .4 sharing one port: two of the 5000 series, one 4000.
class VireoDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int attempt = 0; attempt < 5 && !Started(); ++attempt) {
      emulators_.clear();
      Start("127.0.0.2", 0, "zorne-a", "QV5010");
      if (!emulators_.back()->Started()) {
        break;
      }
      port_ = emulators_.back()->Port();
      Start("127.0.0.3", port_, "zorne-b", "QV5020");
      Start("127.0.0.4", port_, "zorne-c", "QV4010");
    }
    ASSERT_TRUE(Started()) << emulators_.back()->Error();
    ::setenv("VIREO_PORT", std::to_string(port_).c_str(), 1);
  }
  void TearDown() override {
    ::setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);
    ::unsetenv("VIREO_PORT");
  }

  static void Target(const char* targets) { ::setenv("VIREO_DISCOVERY_TARGETS", targets, 1); }

  std::uint16_t port_ = 0;
  std::vector<std::unique_ptr<RunningEmulator>> emulators_;

 private:
  void Start(const std::string& address, std::uint16_t port, const std::string& name,
             const std::string& model) {
    EmulatorOptions options;
    options.listen = address + ":" + std::to_string(port);
    options.name = name;
    options.model = model;
    emulators_.push_back(std::make_unique<RunningEmulator>(options));
  }
  [[nodiscard]] bool Started() const {
    return emulators_.size() == 3 &&
           std::all_of(emulators_.begin(), emulators_.end(),
                       [](const auto& emulator) { return emulator->Started(); });
  }
};

const Entry kA{"127.0.0.2", "zorne-a", "QV5010"};
const Entry kB{"127.0.0.3", "zorne-b", "QV5020"};
const Entry kC{"127.0.0.4", "zorne-c", "QV4010"};

TEST_F(VireoDiscovery, FindsEveryServerWithItsNameAndModel) {
  Target("127.0.0.2,127.0.0.3,127.0.0.4");
  VIREO_STATUS status = -1;
  EXPECT_EQ(Discover(100, status), (std::vector<Entry>{kA, kB, kC}));
  EXPECT_EQ(status, VIREO_OK);
}

TEST_F(VireoDiscovery, KeepsNoMoreThanTheCapacity) {
  Target("127.0.0.2,127.0.0.3,127.0.0.4");
  VIREO_STATUS status = -1;
  const std::vector<Entry> entries = Discover(2, status);
  EXPECT_EQ(status, VIREO_OK);
  ASSERT_EQ(entries.size(), 2U);
  for (const Entry& entry : entries) {
    EXPECT_TRUE(entry == kA || entry == kB || entry == kC) << entry.address;
  }
}

TEST_F(VireoDiscovery, IgnoresMalformedAnswersAndRepeatsOfAnAddress) {
  FakeResponder malformed("127.0.0.5", port_,
                          {"ZORNE-HERE 1\nname=bogus\nmodel=QV5010\n",
                           "ZORNE-HERE 2\naddress=x\nname=bogus\nmodel=QV5010\nnumber=1\n",
                           "ZORNE-HERE 1\naddress=x\nname=bogus\nmodel=QV5010\nnumber=0\n"});
  FakeResponder repeating(
      "127.0.0.6", port_,
      {"ZORNE-HERE 1\naddress=127.0.0.6\nname=first\nmodel=QV5030\nnumber=3\n",
       "ZORNE-HERE 1\naddress=127.0.0.6\nname=second\nmodel=QV5030\nnumber=4\n"});
  ASSERT_TRUE(malformed.Bound());
  ASSERT_TRUE(repeating.Bound());
  Target("127.0.0.2,127.0.0.5,127.0.0.6");
  VIREO_STATUS status = -1;
  EXPECT_EQ(Discover(100, status), (std::vector<Entry>{kA, Entry{"127.0.0.6", "first", "QV5030"}}));
  EXPECT_EQ(status, VIREO_OK);
}

TEST_F(VireoDiscovery, LeavesOutAServerWhoseKeyContradictsItsPin) {
  const std::string pins = emulators_[0]->Root().parent_path().string() + "/discovery_pins";
  // 127.0.0.2 answers with another key than the one pinned for it; 127.0.0.3 with its own.
  std::ofstream(pins) << "127.0.0.2:" << port_ << " sha256:" << std::string(64, '0') << "\n"
                      << "127.0.0.3:" << port_ << " " << emulators_[1]->KeyFingerprint() << "\n";
  ::setenv("VIREO_KNOWN_SERVERS", pins.c_str(), 1);
  Target("127.0.0.2,127.0.0.3,127.0.0.4");
  VIREO_STATUS status = -1;
  EXPECT_EQ(Discover(100, status), (std::vector<Entry>{kB, kC}));
  EXPECT_EQ(status, VIREO_OK);
}

TEST(VireoDiscoveryQuiet, NobodyAnsweringIsAnEmptyList) {
  // A socket of our own that never answers, so no other server on the machine can.
  FakeResponder silent("127.0.0.9", 0, {});
  ASSERT_TRUE(silent.Bound());
  ::setenv("VIREO_PORT", std::to_string(silent.Port()).c_str(), 1);
  ::setenv("VIREO_DISCOVERY_TARGETS", "127.0.0.9", 1);
  VIREO_STATUS status = -1;
  EXPECT_EQ(Discover(100, status), std::vector<Entry>{});
  EXPECT_EQ(status, VIREO_OK);
  ::unsetenv("VIREO_PORT");
}

}  // namespace
}  // namespace azu::test
