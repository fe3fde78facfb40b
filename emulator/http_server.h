#pragma once
// Serves the Service over HTTP/1.1 (cpp-httplib) with bounded waits on every connection.
//
// What bounds a client's hold on a server thread:
// - the wait for the next request on an open connection: ConnectionLimits::keep_alive (5 s);
// - every wait for bytes from the client or room to send: read/write timeout (5 s each);
// - one request from its first byte to the last byte of its answer, headers, body and answer
//   together: ConnectionLimits::request_deadline (60 s);
// - a body: 16 MiB, refused unread when announced larger, cut off when it grows larger;
// - a failed login: its delay (at most 5 s) after those of at most 3 earlier waiting attempts
//   of its address (LoginGuard);
// - after answering a request whose body stayed unread: 3 s or 32 MiB of discarding, so the
//   client can read the answer (DeadlineStream::Linger);
// - the server's stop: ends all of these at once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "emulator/deadline_stream.h"
#include "emulator/event_log.h"
#include "emulator/service.h"
#include "emulator/stop_signal.h"

namespace azu::emulator {

// The HTTP listener and its worker threads around one Service.
class HttpServer {
 public:
  // Enough threads that 32 administrators at once and a few delayed logins never wait.
  static constexpr std::size_t kThreads = 64;

  HttpServer(Service& service, EventLog& log, const StopSignal& stop, ConnectionLimits limits = {});
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
