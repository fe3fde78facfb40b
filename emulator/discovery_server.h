#pragma once
// Answers discovery datagrams on the server's UDP port, to the asker only and no more often than
// DiscoveryLimiter allows, until stopped.

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "emulator/discovery.h"
#include "emulator/discovery_limiter.h"
#include "emulator/event_log.h"
#include "emulator/stop_signal.h"

namespace azu::emulator {

// The UDP socket of the discovery exchange and its receive loop.
class DiscoveryServer {
 public:
  // Binds the IPv4 `address` and `port` (0: a free port). nullptr and `error` on failure.
  static std::unique_ptr<DiscoveryServer> Bind(const std::string& address, std::uint16_t port,
                                               std::string& error);
  ~DiscoveryServer();
  DiscoveryServer(const DiscoveryServer&) = delete;
  DiscoveryServer& operator=(const DiscoveryServer&) = delete;

  [[nodiscard]] std::uint16_t Port() const { return port_; }

  // Serves until `stop` triggers. `identity.address` is left as given unless the socket listens
  // on every address (0.0.0.0); then each answer names the address the request came in on.
  void Run(const ServerIdentity& identity, EventLog& log, const StopSignal& stop);

 private:
  DiscoveryServer(int fd, in_addr address, std::uint16_t port)
      : fd_(fd), address_(address), port_(port) {}
  void Answer(const ServerIdentity& identity, EventLog& log);
  // Logs how many requests the limiter turned away, at most once per kRateReport (at once when
  // `last`); -1 when nothing waits to be logged, else the milliseconds until it may be.
  int ReportRateRefusals(EventLog& log, bool last);

  int fd_;
  in_addr address_;
  std::uint16_t port_;
  // Refused datagrams are logged at most kMostRefusalLogs per second, so a flood cannot fill
  // the disk.
  static constexpr int kMostRefusalLogs = 20;
  std::chrono::steady_clock::time_point refusal_window_{};
  int refusals_in_window_ = 0;
  // Requests over the limit are only counted: a line each would let a flood fill the log.
  static constexpr std::chrono::seconds kRateReport{60};
  DiscoveryLimiter limiter_;
  std::uint64_t rate_refusals_ = 0;
  std::chrono::steady_clock::time_point rate_reported_ = std::chrono::steady_clock::now();
};

}  // namespace azu::emulator
