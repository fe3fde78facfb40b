#pragma once
// The HTTP server's view of one client connection: every wait for the client is bounded by the
// read or write timeout, by the deadline of the request in progress, and by the server's stop.

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace azu::emulator {

struct ConnectionLimits {
  std::chrono::milliseconds read_timeout{5000};
  std::chrono::milliseconds write_timeout{5000};
  // Longest wait for the next request on an open connection.
  std::chrono::milliseconds keep_alive{5000};
  // From the first byte of a request to the last byte of its answer (16 MiB at ~300 KB/s).
  std::chrono::milliseconds request_deadline{60000};
};

// One accepted connection as httplib reads and writes it.
class DeadlineStream final : public httplib::Stream {
 public:
  DeadlineStream(int sock, int stop_fd, const ConnectionLimits& limits);

  // True when a request starts within the keep-alive time (or already sits in the buffer).
  bool WaitForRequest();
  // Starts the deadline of the next request.
  void StartRequest();
  // After the answer to a request whose body was left unread: stop sending, read and drop what
  // the client still sends for a short while, so it gets to read the answer instead of a reset.
  void Linger();

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return sock_; }

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Waits for `events` on the socket up to `timeout`, cut short by `until` and the stop.
  bool Wait(short events, std::chrono::milliseconds timeout, TimePoint until) const;

  static constexpr std::size_t kBufferSize = 4096;

  int sock_;
  int stop_fd_;
  ConnectionLimits limits_;
  TimePoint deadline_;
  char buffer_[kBufferSize];
  std::size_t buffer_start_ = 0;
  std::size_t buffer_end_ = 0;
};

}  // namespace azu::emulator
