#pragma once
// Stand-ins for everything the headless watcher reaches outside itself: a clock that never
// waits, scripted host addresses, ARP cache and printers on the network, recorded service
// control, and files that fail on request.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "attach/datagram_transport.h"
#include "attach/local_files.h"
#include "attach/snmp_queries.h"
#include "attach/socket_exception.h"
#include "platform/arp_cache.h"
#include "platform/clock.h"
#include "platform/host_addresses.h"
#include "platform/service_control.h"
#include "tests/attach/snmp_replies.h"

namespace azu::test {

inline platform::Ipv4Address Address(const std::string& dotted) {
  platform::Ipv4Address bytes{};
  unsigned a = 0, b = 0, c = 0, d = 0;
  std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
  bytes = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c),
           static_cast<std::uint8_t>(d)};
  return bytes;
}

// Time passes only when the code under test sleeps or waits.
class FakeClock final : public platform::Clock {
 public:
  std::int64_t NowSeconds() override { return milliseconds / 1000; }
  void Sleep(std::uint32_t pause) override {
    sleeps.push_back(pause);
    milliseconds += pause;
    if (onSleep) onSleep(sleeps.size());
  }
  void Advance(std::int64_t pause) { milliseconds += pause; }

  std::int64_t milliseconds = 1'000'000;
  std::vector<std::uint32_t> sleeps;
  std::function<void(std::size_t sleepCount)> onSleep;
};

class FakeHostAddresses final : public platform::HostAddressSource {
 public:
  std::vector<platform::Ipv4Address> List() override { return addresses; }
  std::vector<platform::Ipv4Address> addresses;
};

class FakeArpCache final : public platform::ArpCache {
 public:
  struct Entry {
    std::string address;
    std::string interfaceAddress;
    std::string hardwareAddress;
  };
  bool Lookup(std::string_view address, const platform::ArpVisitor& visit) override {
    ++lookups;
    if (!readable) return false;
    for (const Entry& entry : entries) {
      if (entry.address == address && !visit(entry.interfaceAddress, entry.hardwareAddress)) break;
    }
    return true;
  }
  std::vector<Entry> entries;
  bool readable = true;
  int lookups = 0;
};

class FakeServiceControl final : public platform::ServiceControl {
 public:
  void Stop(std::string_view service) override { Call("stop " + std::string(service)); }
  void Start(std::string_view service) override { Call("start " + std::string(service)); }
  std::vector<std::string> calls;
  std::function<void(const std::string& call)> onCall;  // before the call is recorded

 private:
  void Call(const std::string& call) {
    if (onCall) onCall(call);
    calls.push_back(call);
  }
};

inline std::array<std::uint8_t, 6> MacBytes(const std::string& text) {
  std::array<unsigned, 6> parts{};
  std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x", &parts[0], &parts[1], &parts[2], &parts[3],
              &parts[4], &parts[5]);
  std::array<std::uint8_t, 6> bytes{};
  for (std::size_t i = 0; i < 6; ++i) bytes[i] = static_cast<std::uint8_t>(parts[i]);
  return bytes;
}

// The network as seen through each local address: printers that answer the broadcasts.
class FakeTransport final : public DatagramTransport {
 public:
  struct Printer {
    std::string seenThrough;  // local address whose broadcast reaches it
    std::string address;
    std::string mac;               // answers ifPhysAddress.1 with this
    bool echoesInterface2 = true;  // answers ifPhysAddress.2 with an empty value
  };
  struct Failure {
    std::string step;  // "Open", "SendTo", "Wait", "Receive"
    std::string local;
    int code;
  };

  explicit FakeTransport(FakeClock& clock) : clock_(clock) {}

  void Open(const char* localAddress) override {
    opened.push_back(localAddress);
    local_ = localAddress;
    open_ = true;
    FailIf("Open");
  }
  int SendTo(const void* data, int length, const char* address, std::uint16_t port) override {
    FailIf("SendTo");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    sent.push_back({local_, std::vector<std::uint8_t>(bytes, bytes + length), address, port});
    const bool interface2 = length > 39 && bytes[39] == 2;
    for (const Printer& printer : printers) {
      if (printer.seenThrough != local_) continue;
      if (!interface2) {
        const auto mac = MacBytes(printer.mac);
        pending_.push_back(
            {printer.address, 161, SnmpReply(ReplyShape().Value({mac.begin(), mac.end()}))});
      } else if (printer.echoesInterface2) {
        // An interface without an address: an empty octet string.
        pending_.push_back({printer.address, 161, SnmpReply(ReplyShape().Interface(2))});
      }
    }
    for (auto& extra : extraReplies) pending_.push_back(extra);
    return sendResult.value_or(length);
  }
  bool WaitReadable() override {
    FailIf("Wait");
    ++waits;
    if (onWait) onWait(waits);
    if (!pending_.empty()) return true;
    clock_.Advance(1000);
    return false;
  }
  int ReceiveFrom(void* buffer, int length, std::array<std::uint8_t, 4>& sender,
                  std::uint16_t& senderPort) override {
    FailIf("Receive");
    const auto [from, port, bytes] = pending_.front();
    pending_.pop_front();
    sender = Address(from);
    senderPort = port;
    const int size = std::min(length, static_cast<int>(bytes.size()));
    std::copy_n(bytes.begin(), size, static_cast<std::uint8_t*>(buffer));
    return size;
  }
  void Close() override {
    if (open_) ++closes;
    open_ = false;
    pending_.clear();
  }

  struct Sent {
    std::string local;
    std::vector<std::uint8_t> bytes;
    std::string address;
    std::uint16_t port;
  };
  std::vector<Printer> printers;
  struct Reply {
    std::string from;
    std::uint16_t port;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Reply> extraReplies;  // to every send
  std::optional<int> sendResult;
  std::optional<Failure> failure;
  std::vector<std::string> opened;
  std::vector<Sent> sent;
  int waits = 0;
  int closes = 0;
  std::function<void(int waits)> onWait;

 private:
  void FailIf(const std::string& step) {
    if (failure && failure->step == step && failure->local == local_) {
      throw CSocketException(failure->code, step.c_str());
    }
  }

  FakeClock& clock_;
  std::string local_;
  bool open_ = false;
  std::deque<Reply> pending_;
};

// The machine's files below `driveRoot` (their log kept in `logged`), except that reading or
// replacing a path for which `failRead` or `failReplace` answers true fails with EIO (a move
// fails so when its target does). `beforeChange` sees every replace, move and delete first.
class FailingFiles final : public LocalFiles {
 public:
  explicit FailingFiles(const std::string& driveRoot)
      : files_(MakeSystemFiles(driveRoot,
                               [this](std::string_view line) { logged.emplace_back(line); })) {}
  bool Read(const std::string& path, std::string& content, int* error) override {
    if (failRead && failRead(path)) return Fail(error);
    return files_->Read(path, content, error);
  }
  bool Replace(const std::string& path, std::string_view content, int* error) override {
    if (beforeChange) beforeChange(path);
    if (failReplace && failReplace(path)) return Fail(error);
    return files_->Replace(path, content, error);
  }
  bool Move(const std::string& from, const std::string& to, int* error) override {
    if (beforeChange) beforeChange(to);
    if (failReplace && failReplace(to)) return Fail(error);
    return files_->Move(from, to, error);
  }
  std::optional<std::uintmax_t> Size(const std::string& path) override {
    return files_->Size(path);
  }
  bool Remove(const std::string& path) override {
    if (beforeChange) beforeChange(path);
    return files_->Remove(path);
  }

  std::function<void(const std::string& path)> beforeChange;

  std::function<bool(const std::string&)> failRead;
  std::function<bool(const std::string&)> failReplace;
  std::vector<std::string> logged;

 private:
  static bool Fail(int* error) {
    if (error != nullptr) *error = 5;  // EIO
    return false;
  }
  std::unique_ptr<LocalFiles> files_;
};

}  // namespace azu::test
