#include "emulator/discovery.h"

#include "vireo/key_fingerprint.h"

namespace azu::emulator {
namespace {

constexpr std::size_t kMaxIdentityText = 255;

std::string Clean(std::string_view text) {
  std::string clean;
  for (const char c : text) {
    if (clean.size() == kMaxIdentityText) break;
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) clean.push_back(c);
  }
  return clean;
}

}  // namespace

bool IsDiscoveryRequest(std::string_view datagram) {
  return datagram == kDiscoveryRequest;
}

std::string DiscoveryAnswer(const ServerIdentity& identity) {
  // Three texts of at most 255 bytes, a number and a 71-byte fingerprint plus the fixed words
  // stay under kMaxDiscoveryAnswer.
  std::string answer = "ZORNE-HERE 1\n";
  answer += "address=" + Clean(identity.address) + "\n";
  answer += "name=" + Clean(identity.name) + "\n";
  answer += "model=" + Clean(identity.model) + "\n";
  answer += "number=" + std::to_string(identity.number == 0 ? 1 : identity.number) + "\n";
  if (vireo::IsKeyFingerprint(identity.key)) answer += "key=" + identity.key + "\n";
  return answer;
}

bool IsValidIdentityText(std::string_view text) {
  return !text.empty() && text.size() <= kMaxIdentityText && Clean(text) == text;
}

}  // namespace azu::emulator
