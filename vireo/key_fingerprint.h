#pragma once
// The fingerprint by which a Zorne server's TLS key is pinned and shown: "sha256:" and 64
// lower-case hex digits of the DER SubjectPublicKeyInfo. Server and library compute it alike,
// with OpenSSL on POSIX and CryptoAPI on Windows.

#include <cstddef>
#include <string>
#include <string_view>

#ifdef _WIN32
struct _CERT_CONTEXT;
#else
#include <openssl/types.h>
#endif

namespace azu::vireo {

// "" when the certificate has no readable public key.
#ifdef _WIN32
std::string KeyFingerprint(const _CERT_CONTEXT* certificate);
#else
std::string KeyFingerprint(X509* certificate);
#endif
// The text of a SHA-256 digest of a key.
std::string FingerprintOfDigest(const unsigned char* digest, std::size_t size);
// Whether `text` has the form of a fingerprint.
bool IsKeyFingerprint(std::string_view text);

}  // namespace azu::vireo
