#pragma once
// Reading a server's answer to the discovery datagram.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace azu::vireo {

// The server's own address line is checked but not kept: we reach the server at the answer's
// source address.
struct DiscoveryAnswer {
  DiscoveryAnswer() = default;
  // The key last and optional, as servers that send none answer.
  DiscoveryAnswer(std::string name, std::string model, std::uint32_t number, std::string key = {})
      : name(std::move(name)), model(std::move(model)), number(number), key(std::move(key)) {}

  std::string name;
  std::string model;
  std::uint32_t number = 0;  // never 0 in a well-formed answer
  std::string key;           // the server's key fingerprint; empty from servers that send none

  friend bool operator==(const DiscoveryAnswer&, const DiscoveryAnswer&) = default;
};

// The answer in `datagram`, or nullopt when it is not a well-formed answer: at most 1024 bytes
// of UTF-8, the header line, then address, name, model and number once each (other keys are
// skipped), no empty or control characters in the texts, a non-zero decimal number, and at most
// one key line, which holds a key fingerprint.
[[nodiscard]] std::optional<DiscoveryAnswer> ParseDiscoveryAnswer(std::string_view datagram);

}  // namespace azu::vireo
