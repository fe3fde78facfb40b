#pragma once
// Zorne servers found on the network, copied out of the server-access library's discovery list
// into fixed records of Windows-1252 texts.

#include <array>

#include "server/zorne_constants.h"

namespace azu {

inline constexpr int kMaxDiscoveredServers = 100;

struct DiscoveredServer {
  std::array<char, 16> address{};     // dotted IPv4, at most 15 characters
  std::array<char, 256> name{};       // at most 255 characters
  std::array<char, 256> modelCode{};  // the copier's model code, e.g. "QV5010"
};

// Fills up to `capacity` records (entry i into record i; skipped entries stay empty) and sets
// `*count`; a character without a Windows-1252 byte becomes '?', and texts longer than a field
// are cut to fit. A failed discovery leaves the records as they were and gives a count of 0.
// Returns 0.
int DiscoverServers(int seconds, DiscoveredServer* records, int capacity, int* count);

}  // namespace azu
