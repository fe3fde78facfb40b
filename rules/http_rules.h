#pragma once
// The HTTP ports page's rules: the two ports replace the server's engineHTTP file.

#include <cstdint>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

inline constexpr std::uint32_t kDefaultHttpPort = 80;
inline constexpr std::uint32_t kDefaultHttpsPort = 443;
inline constexpr std::uint32_t kMaxPort = 65535;

struct HttpFields {
  std::uint32_t httpPort = kDefaultHttpPort;
  std::uint32_t httpsPort = kDefaultHttpsPort;
};

CheckNotice CheckHttp(const HttpFields& fields);
PagePlan HttpPlan(const HttpFields& fields);
// engineHTTP (nullopt: the server has none) → http-port, https-port.
PageReading ReadHttp(const std::optional<std::string>& file);

}  // namespace azu
