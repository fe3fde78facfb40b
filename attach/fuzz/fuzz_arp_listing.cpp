// libFuzzer driver: any listing that `arp.exe -a` or /proc/net/arp could hold, through the
// ARP lookup into a small record array.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "attach/printer_discovery.h"
#include "platform/arp_listing.h"

namespace {

// Serves the input as the cache's listing; the first byte picks the Windows or the Linux form.
class ListingCache final : public azu::platform::ArpCache {
 public:
  ListingCache(bool procForm, std::string_view listing) : procForm_(procForm), listing_(listing) {}
  bool Lookup(std::string_view address, const azu::platform::ArpVisitor& visit) override {
    if (procForm_) {
      azu::platform::ParseProcNetArp(
          listing_, address, [](std::string_view device) { return std::string(device); }, visit);
    } else {
      azu::platform::ParseArpListing(listing_, address, visit);
    }
    return true;
  }

 private:
  bool procForm_;
  std::string_view listing_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view listing(reinterpret_cast<const char*>(data) + 1, size - 1);
  ListingCache cache((data[0] & 1) != 0, listing);
  std::array<azu::PrinterAddressRecord, 3> records{};
  int count = 0;
  azu::LookupArpMac("100.100.100.101", records, count, cache);
  if (count < 0 || count > static_cast<int>(records.size())) __builtin_trap();
  for (int i = 0; i < count; ++i) {
    const auto& record = records[static_cast<std::size_t>(i)];
    if (std::string_view(record.printerAddress) != "100.100.100.101") __builtin_trap();
    if (std::string_view(record.mac).find('-') != std::string_view::npos) __builtin_trap();
  }
  return 0;
}
