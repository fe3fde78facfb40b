#include "vireo/discovery_answer.h"

#include <limits>

#include "vireo/key_fingerprint.h"
#include "vireo/protocol.h"

namespace azu::vireo {
namespace {

// Well-formed UTF-8 (no overlong forms, no surrogates) without control characters.
bool IsCleanText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x20 || lead == 0x7F) {
      return false;
    }
    std::size_t length = 1;
    std::uint32_t code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07U;
    } else if (lead >= 0xE0) {
      length = 3;
      code = lead & 0x0FU;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1FU;
    } else if (lead >= 0x80) {
      return false;
    }
    if (i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0U) != 0x80U) {
        return false;
      }
      code = (code << 6) | (next & 0x3FU);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF || (code >= 0x80 && code < 0xA0)) {
      return false;
    }
    i += length;
  }
  return true;
}

std::optional<std::uint32_t> ParseNumber(std::string_view text) {
  if (text.empty() || text.size() > 10) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value == 0 || value > std::numeric_limits<std::uint32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<DiscoveryAnswer> ParseDiscoveryAnswer(std::string_view datagram) {
  if (datagram.size() > kMaxDiscoveryAnswerBytes) {
    return std::nullopt;
  }
  // One line end after the last line is usual; any other empty line is not.
  if (!datagram.empty() && datagram.back() == '\n') {
    datagram.remove_suffix(1);
  }
  DiscoveryAnswer answer;
  bool seen_address = false;
  bool seen_name = false;
  bool seen_model = false;
  bool seen_number = false;
  bool first = true;
  while (true) {
    const auto end = datagram.find('\n');
    const std::string_view line = datagram.substr(0, end);
    if (first) {
      if (line != kDiscoveryAnswerHeader) {
        return std::nullopt;
      }
      first = false;
    } else {
      const auto equals = line.find('=');
      if (equals == std::string_view::npos || equals == 0) {
        return std::nullopt;
      }
      const std::string_view key = line.substr(0, equals);
      const std::string_view value = line.substr(equals + 1);
      if (!IsCleanText(value)) {
        return std::nullopt;
      }
      // `field` null: the value must be there once but is not kept.
      auto take = [&value](bool& seen, std::string* field) {
        if (seen || value.empty()) {
          return false;
        }
        seen = true;
        if (field != nullptr) {
          *field = value;
        }
        return true;
      };
      if (key == "address") {
        if (!take(seen_address, nullptr)) {
          return std::nullopt;
        }
      } else if (key == "name") {
        if (!take(seen_name, &answer.name)) {
          return std::nullopt;
        }
      } else if (key == "model") {
        if (!take(seen_model, &answer.model)) {
          return std::nullopt;
        }
      } else if (key == "number") {
        const auto number = ParseNumber(value);
        if (seen_number || !number) {
          return std::nullopt;
        }
        seen_number = true;
        answer.number = *number;
      } else if (key == "key") {
        if (!answer.key.empty() || !IsKeyFingerprint(value)) {
          return std::nullopt;
        }
        answer.key = value;
      }
    }
    if (end == std::string_view::npos) {
      break;
    }
    datagram.remove_prefix(end + 1);
  }
  if (!(seen_address && seen_name && seen_model && seen_number)) {
    return std::nullopt;
  }
  return answer;
}

}  // namespace azu::vireo
