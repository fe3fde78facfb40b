#pragma once
// A Windows handle of our own (file, console, token), closed on every way out. Windows only.

#include <windows.h>

#include <utility>

namespace azu::platform {

class WindowsHandle {
 public:
  explicit WindowsHandle(HANDLE handle) : handle_(handle) {}
  ~WindowsHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  WindowsHandle(const WindowsHandle&) = delete;
  WindowsHandle& operator=(const WindowsHandle&) = delete;
  WindowsHandle(WindowsHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  WindowsHandle& operator=(WindowsHandle&&) = delete;

  [[nodiscard]] HANDLE Get() const { return handle_; }
  [[nodiscard]] bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

 private:
  HANDLE handle_;
};

}  // namespace azu::platform
