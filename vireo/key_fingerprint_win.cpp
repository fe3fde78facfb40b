#include "vireo/key_fingerprint.h"

#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>

namespace azu::vireo {
namespace {

// SHA-256 of `bytes` through the system's CNG provider; false when it is not there.
bool Sha256(const BYTE* bytes, DWORD size, unsigned char (&digest)[32]) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    return false;
  }
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool done = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
  done = done && BCRYPT_SUCCESS(BCryptHashData(hash, const_cast<BYTE*>(bytes), size, 0));
  done = done && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof digest, 0));
  if (hash != nullptr) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return done;
}

}  // namespace

std::string KeyFingerprint(const _CERT_CONTEXT* certificate) {
  if (certificate == nullptr || certificate->pCertInfo == nullptr) return {};
  // The key as the certificate carries it, encoded again as DER: the same bytes OpenSSL hashes.
  BYTE* der = nullptr;
  DWORD size = 0;
  if (!CryptEncodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO,
                           &certificate->pCertInfo->SubjectPublicKeyInfo, CRYPT_ENCODE_ALLOC_FLAG,
                           nullptr, &der, &size)) {
    return {};
  }
  unsigned char digest[32];
  const bool hashed = Sha256(der, size, digest);
  LocalFree(der);
  return hashed ? FingerprintOfDigest(digest, sizeof digest) : std::string();
}

}  // namespace azu::vireo
