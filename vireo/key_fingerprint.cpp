#include "vireo/key_fingerprint.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <algorithm>

namespace azu::vireo {
namespace {

constexpr std::string_view kPrefix = "sha256:";
constexpr std::size_t kHexDigits = 64;

}  // namespace

std::string KeyFingerprint(X509* certificate) {
  if (certificate == nullptr) return {};
  X509_PUBKEY* key = X509_get_X509_PUBKEY(certificate);
  if (key == nullptr) return {};
  unsigned char* der = nullptr;
  const int size = i2d_X509_PUBKEY(key, &der);
  if (size <= 0) return {};
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_size = 0;
  const bool hashed = EVP_Digest(der, static_cast<std::size_t>(size), digest, &digest_size,
                                 EVP_sha256(), nullptr) == 1;
  OPENSSL_free(der);
  if (!hashed) return {};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(kPrefix);
  for (unsigned int i = 0; i < digest_size; ++i) {
    text.push_back(kDigits[digest[i] >> 4]);
    text.push_back(kDigits[digest[i] & 0x0F]);
  }
  return text;
}

bool IsKeyFingerprint(std::string_view text) {
  if (!text.starts_with(kPrefix)) return false;
  text.remove_prefix(kPrefix.size());
  return text.size() == kHexDigits && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

}  // namespace azu::vireo
