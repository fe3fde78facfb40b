#pragma once
// The one exception of the program: a failed socket call, with the system's error code and the
// name of the call. It never leaves the socket layer and its caller, printer discovery.

#include <memory>

namespace azu {

class CSocketException {
 public:
  // Keeps `code` and its own copy of `operation` (none when null).
  CSocketException(int code, const char* operation);
  CSocketException(const CSocketException& other);
  CSocketException& operator=(const CSocketException& other);
  ~CSocketException() = default;

  [[nodiscard]] int GetErrorCode() const { return code_; }
  // "socket()", "bind()", ...; null when none was given.
  [[nodiscard]] const char* Operation() const { return operation_.get(); }

 private:
  int code_;
  std::unique_ptr<char[]> operation_;
};

}  // namespace azu
