#pragma once
// Reading BER as SNMP writes it: one tag byte, a short or long definite length, the content.
// Bounded by its input: nothing is read past the end, and a length that claims more than is left
// is malformed.

#include <cstdint>
#include <optional>
#include <span>

namespace azu {

class BerReader {
 public:
  explicit BerReader(std::span<const std::uint8_t> data) : data_(data) {}

  // The content of the next element when its tag is `tag`; nullopt (and nothing consumed) when
  // the tag differs or the element is malformed or truncated.
  std::optional<std::span<const std::uint8_t>> Next(std::uint8_t tag);
  // The next INTEGER's value, when it fits in 64 bits.
  std::optional<std::int64_t> NextInteger();
  // The tag of the next element, if any.
  [[nodiscard]] std::optional<std::uint8_t> PeekTag() const {
    return data_.empty() ? std::nullopt : std::optional<std::uint8_t>(data_[0]);
  }
  [[nodiscard]] bool AtEnd() const { return data_.empty(); }

 private:
  std::span<const std::uint8_t> data_;
};

namespace ber {
inline constexpr std::uint8_t kInteger = 0x02;
inline constexpr std::uint8_t kOctetString = 0x04;
inline constexpr std::uint8_t kObjectIdentifier = 0x06;
inline constexpr std::uint8_t kSequence = 0x30;
inline constexpr std::uint8_t kGetResponse = 0xA2;
}  // namespace ber

}  // namespace azu
