#include "emulator/digest.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>

namespace azu::emulator {

struct Sha256Stream::Context {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> md{EVP_MD_CTX_new(), &EVP_MD_CTX_free};
};

std::string HexOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  return hex;
}

std::string Sha256(std::string_view data) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int size = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &size, EVP_sha256(), nullptr) != 1) {
    return {};
  }
  return {reinterpret_cast<const char*>(digest.data()), size};
}

Sha256Stream::Sha256Stream() : context_(std::make_unique<Context>()) {
  EVP_DigestInit_ex(context_->md.get(), EVP_sha256(), nullptr);
}

Sha256Stream::~Sha256Stream() = default;

void Sha256Stream::Update(std::string_view data) {
  EVP_DigestUpdate(context_->md.get(), data.data(), data.size());
}

std::string Sha256Stream::FinishHex() {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int size = 0;
  EVP_DigestFinal_ex(context_->md.get(), digest.data(), &size);
  return HexOf({reinterpret_cast<const char*>(digest.data()), size});
}

std::string RandomToken() {
  std::array<unsigned char, 16> bytes{};
  if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) return {};
  return HexOf({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace azu::emulator
