#include "attach/printer_records.h"

#include <cstring>

namespace azu {
namespace {

template <std::size_t N>
bool Fits(std::string_view text, const char (&)[N]) {
  return text.size() < N && text.find('\0') == std::string_view::npos;
}

template <std::size_t N>
void Put(char (&field)[N], std::string_view text) {
  std::memcpy(field, text.data(), text.size());
  field[text.size()] = '\0';
}

}  // namespace

bool AppendRecord(std::span<PrinterAddressRecord> records, int& count, std::string_view local,
                  std::string_view printer, std::string_view mac) {
  if (count < 0 || static_cast<std::size_t>(count) >= records.size()) return false;
  PrinterAddressRecord& record = records[static_cast<std::size_t>(count)];
  if (!Fits(local, record.localAddress) || !Fits(printer, record.printerAddress) ||
      !Fits(mac, record.mac)) {
    return false;
  }
  Put(record.localAddress, local);
  Put(record.printerAddress, printer);
  Put(record.mac, mac);
  ++count;
  return true;
}

}  // namespace azu
