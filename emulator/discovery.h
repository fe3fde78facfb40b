#pragma once
// The discovery exchange on the server's UDP port: which datagrams ask for Zorne servers, and
// the answer that names this one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace azu::emulator {

inline constexpr std::string_view kDiscoveryRequest = "ZORNE-DISCOVER 1\n";
inline constexpr std::size_t kMaxDiscoveryAnswer = 1024;

struct ServerIdentity {
  std::string address;  // dotted IPv4 the clients reach the server at
  std::string name;
  std::string model;
  std::uint32_t number = 1;  // never 0: a client skips entries numbered 0
  std::string key;           // the TLS key's fingerprint, "sha256:..."; "" for none
};

// True only for exactly the request bytes; everything else is to be ignored.
bool IsDiscoveryRequest(std::string_view datagram);

// "ZORNE-HERE 1\naddress=...\nname=...\nmodel=...\nnumber=...\nkey=sha256:...\n", every
// line ended by '\n'. Line ends and control characters in the texts are dropped and long texts
// cut, so the answer always has the first five lines and at most kMaxDiscoveryAnswer bytes; the
// key line comes only with a well-formed fingerprint.
std::string DiscoveryAnswer(const ServerIdentity& identity);

// Whether a text may be a server's name or model code: 1 to 255 bytes, no control characters.
bool IsValidIdentityText(std::string_view text);

}  // namespace azu::emulator
