#pragma once
// Tells every waiting socket loop of the emulator that it stops: a pipe that becomes readable
// for good once triggered, so it can sit in any poll() beside the socket.

namespace azu::emulator {

// The stop, shared by every loop that waits on a socket.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  [[nodiscard]] bool IsValid() const { return read_fd_ >= 0; }
  // Safe from any thread, any number of times.
  void Trigger();
  [[nodiscard]] bool Triggered() const;
  // Readable once triggered; never read from it.
  [[nodiscard]] int Fd() const { return read_fd_; }

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
};

}  // namespace azu::emulator
