#pragma once
// The server's TLS identity: its private key, its certificate and the fingerprint of its public
// key that clients pin. Taken from files the administrator names, or made once on first start
// and kept, readable by the owner only, in the state folder.

#include <filesystem>
#include <optional>
#include <string>

namespace azu::emulator {

struct TlsIdentity {
  std::string key_pem;
  std::string certificate_pem;
  // "sha256:" and 64 lower-case hex digits of the public key (DER SubjectPublicKeyInfo).
  std::string fingerprint;
};

struct TlsFiles {
  std::optional<std::filesystem::path> key;          // both given, or neither
  std::optional<std::filesystem::path> certificate;
};

// With both files given: loads them (the key must match the certificate). Otherwise loads
// state_folder/tls-key.pem and tls-cert.pem, making a new P-256 key and self-signed certificate
// for `common_name` when they are missing. nullopt and `error` when that fails.
std::optional<TlsIdentity> LoadOrCreateTlsIdentity(const std::filesystem::path& state_folder,
                                                   const TlsFiles& files,
                                                   const std::string& common_name,
                                                   std::string& error);

}  // namespace azu::emulator
