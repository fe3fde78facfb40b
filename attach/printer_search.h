#pragma once
// The two searches of the watcher in a list of printer address records. Each gives the index of
// the first match, or `count` when nothing matches.

#include <span>
#include <string_view>

#include "attach/printer_records.h"

namespace azu {

// The printer on the direct link: seen at 100.100.100.101 through 100.100.100.102.
int FindDirectPrinter(std::span<const PrinterAddressRecord> records, int count);

// The known printer seen through the server's own (first) address.
int FindPrinterByMac(std::span<const PrinterAddressRecord> records, int count,
                     std::string_view serverAddress, std::string_view printerMac);

}  // namespace azu
