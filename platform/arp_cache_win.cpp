#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/arp_cache.h"
#include "platform/arp_listing.h"
#include "platform/drive_e.h"

namespace azu::platform {
namespace {

// A real listing is a few lines; anything past this is not one.
constexpr std::size_t kMaxListingSize = 1 << 20;

// Where the listing is left; overwritten by the next lookup, so lookups never overlap.
std::string ListingPath() {
  return DriveE() + "\\azu\\server\\tmp\\arp.out";
}

class ArpCommand final : public ArpCache {
 public:
  bool Lookup(std::string_view address, const ArpVisitor& visit) override {
    const std::string output = ListingPath();
    char command[256];
    const int length =
        std::snprintf(command, sizeof command, "arp.exe -a %.*s > %s",
                      static_cast<int>(address.size()), address.data(), output.c_str());
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof command) return false;
    if (std::system(command) != 0) return false;
    std::FILE* file = std::fopen(output.c_str(), "r");  // text mode: CR LF arrives as LF
    if (file == nullptr) return false;
    std::string listing;
    char buffer[4096];
    std::size_t got = 0;
    while (listing.size() < kMaxListingSize &&
           (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
      listing.append(buffer, got);
    }
    std::fclose(file);
    ParseArpListing(listing, address, visit);
    return true;
  }
};

}  // namespace

ArpCache& SystemArpCache() {
  static ArpCommand cache;
  return cache;
}

}  // namespace azu::platform
