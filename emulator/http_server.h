#pragma once
// Serves the Service over HTTP/1.1 in TLS (libmicrohttpd with GnuTLS): a few event-driven
// threads for all connections, so a host with many slow or silent connections holds no thread.
//
// What bounds a client's hold on the server:
// - connections per address (ServerLimits::per_address) and in all; more are closed on accept,
//   before TLS, so nothing queues;
// - from connect, or from the end of the last answer, to a whole request head:
//   ServerLimits::head_deadline (10 s), the TLS handshake included;
// - a head larger than the connection's memory (ServerLimits::connection_memory) is refused;
// - from a whole head to the last byte of its answer: ServerLimits::request_deadline (60 s);
// - no byte either way for ServerLimits::idle (10 s);
// - a body: 16 MiB, refused unread when announced larger;
// - a failed login's delay holds the answer, not a thread;
// - the server's stop: ends all of these at once.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "emulator/event_log.h"
#include "emulator/service.h"
#include "emulator/stop_signal.h"
#include "emulator/tls_identity.h"

namespace azu::emulator {

struct ServerLimits {
  // Enough for 32 administrators behind one address (a NAT) at once, with room to spare.
  unsigned per_address = 64;
  unsigned total = 1024;
  std::chrono::seconds head_deadline{10};
  std::chrono::seconds request_deadline{60};
  std::chrono::seconds idle{10};
  std::size_t connection_memory = std::size_t{64} * 1024;
  unsigned threads = 4;
};

// The TLS listener around one Service.
class HttpServer {
 public:
  HttpServer(Service& service, EventLog& log, const StopSignal& stop, const TlsIdentity& identity,
             ServerLimits limits = {});
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds and listens on the IPv4 `address` and `port` (not 0). False when taken.
  [[nodiscard]] bool Bind(const std::string& address, std::uint16_t port);
  // Serves until Stop(); returns after every connection closed. False when it could not run.
  bool Run();
  // True once Run() accepts connections; before that Stop() would not reach it.
  [[nodiscard]] bool IsRunning() const;
  // Call after triggering the stop signal.
  void Stop();

 private:
  class Server;
  std::unique_ptr<Server> server_;
};

}  // namespace azu::emulator
