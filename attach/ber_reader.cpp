#include "attach/ber_reader.h"

#include <cstddef>

namespace azu {
namespace {

// Long lengths of up to four bytes; SNMP messages never need more.
constexpr std::size_t kMaxLengthBytes = 4;
constexpr std::size_t kMaxIntegerBytes = 8;

}  // namespace

std::optional<std::span<const std::uint8_t>> BerReader::Next(std::uint8_t tag) {
  if (data_.size() < 2 || data_[0] != tag) return std::nullopt;
  std::size_t length = data_[1];
  std::size_t header = 2;
  if (length & 0x80) {
    // 0x80 alone is the indefinite form, which SNMP does not allow.
    const std::size_t count = length & 0x7F;
    if (count == 0 || count > kMaxLengthBytes || data_.size() < header + count) return std::nullopt;
    length = 0;
    for (std::size_t i = 0; i < count; ++i) length = (length << 8) | data_[header + i];
    header += count;
  }
  if (length > data_.size() - header) return std::nullopt;
  const auto content = data_.subspan(header, length);
  data_ = data_.subspan(header + length);
  return content;
}

std::optional<std::int64_t> BerReader::NextInteger() {
  const BerReader before = *this;
  const auto content = Next(ber::kInteger);
  if (!content || content->empty() || content->size() > kMaxIntegerBytes) {
    *this = before;
    return std::nullopt;
  }
  // Two's complement, most significant byte first.
  std::uint64_t value = (*content)[0] & 0x80 ? ~std::uint64_t{0} : 0;
  for (const std::uint8_t byte : *content) value = (value << 8) | byte;
  return static_cast<std::int64_t>(value);
}

}  // namespace azu
