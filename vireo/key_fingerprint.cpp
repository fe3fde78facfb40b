#include "vireo/key_fingerprint.h"

#include <algorithm>

namespace azu::vireo {
namespace {

constexpr std::string_view kPrefix = "sha256:";
constexpr std::size_t kHexDigits = 64;

}  // namespace

std::string FingerprintOfDigest(const unsigned char* digest, std::size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(kPrefix);
  for (std::size_t i = 0; i < size; ++i) {
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
