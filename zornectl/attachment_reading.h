#pragma once
// What a server's own files say about how its printer is attached: the mode its live set is in
// (from maj_0.cfg's URL), the printer's MAC the watcher learnt, the report of its last search and
// whether it marked a change.

#include <optional>
#include <string>
#include <vector>

namespace azu::ctl {

struct AttachmentReading {
  std::optional<std::string> mode;  // "direct connection", "network switch"; nullopt: no URL
  std::optional<std::string> printerAddress;
  std::optional<std::string> printerMac;  // engineMACAddr's first line
  // The watcher's last finding (azuqvc.log): printer address and MAC, and each record
  // ("local-address printer-address mac").
  std::optional<std::string> foundAddress;
  std::optional<std::string> foundMac;
  std::vector<std::string> records;
  bool changedMarker = false;
  std::vector<std::string> notes;
};

// nullopt for a file the server does not have.
AttachmentReading ReadAttachment(const std::optional<std::string>& mainConfig,
                                 const std::optional<std::string>& printerMac,
                                 const std::optional<std::string>& attachmentLog,
                                 bool changedMarker);

}  // namespace azu::ctl
