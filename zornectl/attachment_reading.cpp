#include "zornectl/attachment_reading.h"

#include <cstdlib>

#include "rules/page_reading.h"
#include "server/zorne_constants.h"

namespace azu::ctl {

AttachmentReading ReadAttachment(const std::optional<std::string>& mainConfig,
                                 const std::optional<std::string>& printerMac,
                                 const std::optional<std::string>& attachmentLog,
                                 bool changedMarker) {
  AttachmentReading reading;
  PageReading keys;
  reading.printerAddress = SingleKeyValue(mainConfig.value_or(""), "URL", keys);
  reading.notes = keys.notes;
  if (reading.printerAddress) {
    reading.mode =
        *reading.printerAddress == kDirectPrinterAddress ? "direct connection" : "network switch";
  }
  if (printerMac) {
    const std::vector<std::string_view> lines = FileLines(*printerMac);
    if (!lines.empty()) reading.printerMac = std::string(lines.front());
  }
  if (attachmentLog) {
    const std::vector<std::string_view> lines = FileLines(*attachmentLog);
    std::size_t count = 0;
    bool counted = false;
    for (const std::string_view line : lines) {
      if (line.starts_with("PrinterIP=")) {
        reading.foundAddress = std::string(line.substr(10));
      } else if (line.starts_with("PrinterMAC=")) {
        reading.foundMac = std::string(line.substr(11));
      } else if (line.starts_with("MACAddresses:")) {
        counted = true;
        count = std::strtoul(std::string(line.substr(13)).c_str(), nullptr, 10);
      } else if (counted && !line.empty()) {
        reading.records.emplace_back(line);
      }
    }
    if (!counted || count != reading.records.size()) {
      reading.notes.push_back(std::string(kAttachmentLogPath) +
                              " is not a whole report of the watcher's");
    }
  }
  reading.changedMarker = changedMarker;
  return reading;
}

}  // namespace azu::ctl
