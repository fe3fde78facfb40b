#pragma once
// Fixed values of the Zorne server protocol as libvireo speaks it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace azu::vireo {

inline constexpr std::uint16_t kDefaultPort = 9631;

// Environment settings for tests and the demo; the program itself sets neither.
inline constexpr const char* kPortVariable = "VIREO_PORT";
inline constexpr const char* kDiscoveryTargetsVariable = "VIREO_DISCOVERY_TARGETS";
inline constexpr std::string_view kDefaultDiscoveryTarget = "255.255.255.255";

// An unreachable server must not hold the caller longer than this.
inline constexpr std::chrono::seconds kConnectTimeout{5};
// A server that accepted the connection but stopped answering is given up after this.
inline constexpr std::chrono::seconds kStallTimeout{10};
// No exchange, whatever the server does, holds the caller longer than this: a 16 MiB file at
// 1 MB/s, or a login behind four delayed failures, fits.
inline constexpr std::chrono::seconds kCallDeadline{30};
// An answer's status line and headers together; the server's are a few hundred bytes.
inline constexpr std::size_t kMaxAnswerHead = std::size_t{16} * 1024;

// Largest file a transfer may carry, either way.
inline constexpr std::size_t kMaxTransferBytes = std::size_t{16} * 1024 * 1024;

inline constexpr std::string_view kSessionTarget = "/v1/session";
inline constexpr std::string_view kFileTarget = "/v1/file";
inline constexpr std::string_view kAttributeTarget = "/v1/attribute";
inline constexpr std::string_view kRebootTarget = "/v1/server/reboot";
inline constexpr std::string_view kRestartTarget = "/v1/server/restart";
inline constexpr std::string_view kFormContentType = "application/x-www-form-urlencoded";
inline constexpr std::string_view kFileContentType = "application/octet-stream";

inline constexpr int kHttpOk = 200;
inline constexpr int kHttpNoContent = 204;

inline constexpr std::string_view kDiscoveryRequest = "ZORNE-DISCOVER 1\n";
inline constexpr std::string_view kDiscoveryAnswerHeader = "ZORNE-HERE 1";
inline constexpr std::size_t kMaxDiscoveryAnswerBytes = 1024;

}  // namespace azu::vireo
