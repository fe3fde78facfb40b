#pragma once
// Printer address records: where a printer was seen (local address, printer address, MAC), in
// fixed-width fields, kept in an array that the caller owns and fills up to its capacity.

#include <cstddef>
#include <span>
#include <string_view>

namespace azu {

struct PrinterAddressRecord {
  char localAddress[16];
  char printerAddress[16];
  char mac[18];
};
static_assert(sizeof(PrinterAddressRecord) == 50);

// How many records the headless watcher keeps.
inline constexpr std::size_t kRecordCapacity = 1000;

// Fills the record after the `count` already there and counts it. False, with nothing changed,
// when the array is full or a text is longer than its field can hold.
bool AppendRecord(std::span<PrinterAddressRecord> records, int& count, std::string_view local,
                  std::string_view printer, std::string_view mac);

}  // namespace azu
