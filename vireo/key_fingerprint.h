#pragma once
// The fingerprint by which a Zorne server's TLS key is pinned and shown: "sha256:" and 64
// lower-case hex digits of the DER SubjectPublicKeyInfo. Server and library compute it alike.

#include <openssl/types.h>

#include <string>
#include <string_view>

namespace azu::vireo {

// "" when the certificate has no readable public key.
std::string KeyFingerprint(X509* certificate);
// Whether `text` has the form of a fingerprint.
bool IsKeyFingerprint(std::string_view text);

}  // namespace azu::vireo
