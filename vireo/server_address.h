#pragma once
// Reading "host" or "host:port" texts: the server argument of a connect, the port setting and the
// discovery targets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace azu::vireo {

struct ServerAddress {
  std::string host;
  std::uint16_t port = 0;

  friend bool operator==(const ServerAddress&, const ServerAddress&) = default;
};

// A decimal port 1..65535, nothing else.
[[nodiscard]] std::optional<std::uint16_t> ParsePort(std::string_view text);

// "host" (then `default_port`) or "host:port"; the host is a name or a dotted address made of
// letters, digits, '.', '-' and '_'.
[[nodiscard]] std::optional<ServerAddress> ParseServerAddress(std::string_view text,
                                                              std::uint16_t default_port);

// An IPv4 address and port in host byte order.
struct Ipv4Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;

  friend bool operator==(const Ipv4Endpoint&, const Ipv4Endpoint&) = default;
};

// Dotted IPv4 text ("127.0.0.2"), exactly four decimal parts 0..255.
[[nodiscard]] std::optional<std::uint32_t> ParseIpv4(std::string_view text);
[[nodiscard]] std::string FormatIpv4(std::uint32_t address);

// Comma-separated "a.b.c.d" or "a.b.c.d:port", spaces around items allowed. Names are refused:
// resolving them would itself send queries off this machine.
[[nodiscard]] std::optional<std::vector<Ipv4Endpoint>> ParseDiscoveryTargets(
    std::string_view text, std::uint16_t default_port);

}  // namespace azu::vireo
