#include "attach/printer_search.h"

#include <algorithm>

#include "attach/file_table.h"

namespace azu {
namespace {

template <typename Match>
int FindFirst(std::span<const PrinterAddressRecord> records, int count, Match&& match) {
  const int searched = std::clamp(count, 0, static_cast<int>(records.size()));
  for (int i = 0; i < searched; ++i) {
    if (match(records[static_cast<std::size_t>(i)])) return i;
  }
  return count;
}

}  // namespace

int FindDirectPrinter(std::span<const PrinterAddressRecord> records, int count) {
  return FindFirst(records, count, [](const PrinterAddressRecord& record) {
    return std::string_view(record.localAddress) == kDirectServerAddress &&
           std::string_view(record.printerAddress) == kDirectPrinterAddress;
  });
}

int FindPrinterByMac(std::span<const PrinterAddressRecord> records, int count,
                     std::string_view serverAddress, std::string_view printerMac) {
  return FindFirst(records, count, [&](const PrinterAddressRecord& record) {
    return std::string_view(record.localAddress) == serverAddress &&
           std::string_view(record.mac) == printerMac;
  });
}

}  // namespace azu
