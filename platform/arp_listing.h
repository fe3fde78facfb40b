#pragma once
// Readers of the two ARP cache listings, on every platform so both are tested everywhere.

#include <functional>
#include <string>
#include <string_view>

#include "platform/arp_cache.h"

namespace azu::platform {

// The listing of `arp.exe -a` as a text-mode read gives it, read line by line in pieces of at
// most 99 characters (a longer line is read as several). Tokens are split at spaces only. A line
// whose first token is missing or "No" (any case) ends the listing ("No ARP Entries Found.");
// "Interface:" names the current interface address; a line whose first token is `address`
// reports its second token under the current interface.
void ParseArpListing(std::string_view listing, std::string_view address, const ArpVisitor& visit);

// The table of /proc/net/arp: complete entries (flag 0x2) of `address`, each reported with the
// address that `deviceAddress` gives for its device.
void ParseProcNetArp(std::string_view table, std::string_view address,
                     const std::function<std::string(std::string_view device)>& deviceAddress,
                     const ArpVisitor& visit);

}  // namespace azu::platform
