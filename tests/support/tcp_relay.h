#pragma once
// A loopback TCP relay between a client and a server, for what travels on the wire: it records
// every byte both ways, and new connections can be sent to another server (a stand-in for a
// machine that takes over a server's address).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace azu::test {

// A listening TCP socket on a free port of 127.0.0.1, whose number goes to `port`; -1 on failure.
int ListenOnLoopback(std::uint16_t& port);

class TcpRelay {
 public:
  // Listens on a free port of 127.0.0.1 and forwards to 127.0.0.1:`target_port`.
  explicit TcpRelay(std::uint16_t target_port);
  ~TcpRelay();
  TcpRelay(const TcpRelay&) = delete;
  TcpRelay& operator=(const TcpRelay&) = delete;

  // "127.0.0.1:PORT" of the relay.
  [[nodiscard]] std::string Address() const;
  // Connections accepted from now on go to `target_port`.
  void Retarget(std::uint16_t target_port);
  // Every byte relayed so far, both ways, in arrival order.
  [[nodiscard]] std::string Wire() const;

 private:
  void Accept();
  void Pump(int client, int server);

  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<std::uint16_t> target_port_;
  std::atomic<bool> stopping_ = false;
  mutable std::mutex mutex_;
  std::string wire_;
  std::vector<std::thread> pumps_;
  std::thread acceptor_;
};

}  // namespace azu::test
