#pragma once
// SHA-256 as lower-case hex: the version of a stored file, and the key of a session token.

#include <memory>
#include <string>
#include <string_view>

namespace azu::emulator {

// Lower-case hex of arbitrary bytes.
std::string HexOf(std::string_view bytes);

// The raw 32-byte SHA-256 of `data`.
std::string Sha256(std::string_view data);

// SHA-256 fed piece by piece, for bodies that arrive in chunks.
class Sha256Stream {
 public:
  Sha256Stream();
  ~Sha256Stream();
  Sha256Stream(const Sha256Stream&) = delete;
  Sha256Stream& operator=(const Sha256Stream&) = delete;

  void Update(std::string_view data);
  // Lower-case hex of everything fed so far; the stream is done afterwards.
  std::string FinishHex();

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};

// 16 random bytes from the system's cryptographic generator as 32 hex digits; "" on failure.
std::string RandomToken();

}  // namespace azu::emulator
