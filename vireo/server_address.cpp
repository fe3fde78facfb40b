#include "vireo/server_address.h"

namespace azu::vireo {
namespace {

constexpr std::size_t kMaxHostLength = 253;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHostCharacter(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
         c == '_';
}

// Decimal digits only (no sign, no spaces) within [0, max].
std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t max) {
  if (text.empty() || text.size() > 10) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > max) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<std::uint16_t> ParsePort(std::string_view text) {
  const auto value = ParseDecimal(text, 65535);
  if (!value || *value == 0) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(*value);
}

std::optional<ServerAddress> ParseServerAddress(std::string_view text, std::uint16_t default_port) {
  std::string_view host = text;
  std::uint16_t port = default_port;
  if (const auto colon = text.find(':'); colon != std::string_view::npos) {
    host = text.substr(0, colon);
    const auto parsed = ParsePort(text.substr(colon + 1));
    if (!parsed) {
      return std::nullopt;
    }
    port = *parsed;
  }
  if (host.empty() || host.size() > kMaxHostLength || port == 0) {
    return std::nullopt;
  }
  for (char c : host) {
    if (!IsHostCharacter(c)) {
      return std::nullopt;
    }
  }
  return ServerAddress{std::string(host), port};
}

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
  std::uint32_t address = 0;
  for (int part = 0; part < 4; ++part) {
    const auto dot = text.find('.');
    const bool last = part == 3;
    if (last != (dot == std::string_view::npos)) {
      return std::nullopt;
    }
    const std::string_view digits = last ? text : text.substr(0, dot);
    // Leading zeros read as octal elsewhere; refusing them keeps one meaning.
    if (digits.size() > 1 && digits.front() == '0') {
      return std::nullopt;
    }
    const auto value = ParseDecimal(digits, 255);
    if (!value) {
      return std::nullopt;
    }
    address = (address << 8) | *value;
    if (!last) {
      text.remove_prefix(dot + 1);
    }
  }
  return address;
}

std::string FormatIpv4(std::uint32_t address) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!text.empty()) {
      text += '.';
    }
    text += std::to_string((address >> shift) & 0xFFU);
  }
  return text;
}

std::optional<std::vector<Ipv4Endpoint>> ParseDiscoveryTargets(std::string_view text,
                                                               std::uint16_t default_port) {
  std::vector<Ipv4Endpoint> targets;
  while (true) {
    const auto comma = text.find(',');
    const std::string_view item = Trim(text.substr(0, comma));
    const auto address = ParseServerAddress(item, default_port);
    if (!address) {
      return std::nullopt;
    }
    const auto ipv4 = ParseIpv4(address->host);
    if (!ipv4) {
      return std::nullopt;
    }
    targets.push_back(Ipv4Endpoint{*ipv4, address->port});
    if (comma == std::string_view::npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  return targets;
}

}  // namespace azu::vireo
