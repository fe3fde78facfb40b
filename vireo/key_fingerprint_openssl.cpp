#include <openssl/evp.h>
#include <openssl/x509.h>

#include "vireo/key_fingerprint.h"

namespace azu::vireo {

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
  return FingerprintOfDigest(digest, digest_size);
}

}  // namespace azu::vireo
