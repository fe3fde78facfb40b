#include "attach/printer_ip_mode.h"

#include <vector>

#include "attach/detached_printer_dlg.h"
#include "attach/file_set_switch.h"
#include "attach/headless_message_sink.h"
#include "attach/printer_discovery.h"
#include "attach/printer_search.h"
#include "platform/drive_e.h"
#include "server/server_library.h"
#include "ui/discover_servers.h"

namespace azu {
namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One run of the watcher: the attachment state, the records of the last probe, the host
// addresses.
class PrinterIpWatcher {
 public:
  explicit PrinterIpWatcher(const AttachServices& services)
      : services_(services),
        state_(services.driveE, services.files),
        records_(kRecordCapacity, PrinterAddressRecord{}),
        hosts_(GetHostAddresses(services.hosts)) {
    // Without any address the watcher still runs: the direct link and the exit marker work.
    if (CountAddresses(hosts_) > 0) state_.SetServerAddress(platform::DottedText(hosts_.front()));
  }

  void Run() {
    state_.TouchActiveMarker();
    state_.EnsureLocalCompanions();
    if (!state_.ReadPrinterAddress()) return;
    if (!state_.ReadPrinterMac()) {
      Learn();
    } else {
      Watch();
    }
  }

 private:
  void Learn() {
    while (!state_.CheckExitMarker()) {
      Probe();
      services_.clock.Sleep(kPollPauseMilliseconds);
      if (count_ == 0) continue;
      const int direct = FindDirectPrinter(records_, count_);
      if (direct == count_) continue;
      const PrinterAddressRecord& found = records_[static_cast<std::size_t>(direct)];
      state_.SetPrinterAddress(found.printerAddress);
      state_.SetPrinterMac(found.mac);
      state_.WritePrinterMac();
      state_.WriteAttachmentLog(records_, count_);
      state_.TouchChangedMarker();
      return;
    }
  }

  void Watch() {
    bool done = false;
    while (!done) {
      services_.clock.Sleep(kPollPauseMilliseconds);
      state_.TouchActiveMarker();
      done = state_.CheckExitMarker();
      Probe();
      if (count_ == 0) continue;
      const int direct = FindDirectPrinter(records_, count_);
      if (direct != count_) {
        OnDirectLink(records_[static_cast<std::size_t>(direct)]);
        done = true;
        continue;
      }
      const int known =
          FindPrinterByMac(records_, count_, state_.ServerAddress(), state_.PrinterMac());
      if (known != count_) {
        OnSiteNetwork(records_[static_cast<std::size_t>(known)]);
        done = true;
      }
    }
  }

  void OnDirectLink(const PrinterAddressRecord& found) {
    if (state_.PrinterAddress() == kDirectPrinterAddress) {
      if (!SameIgnoringCase(state_.PrinterMac(), found.mac)) {
        state_.SetPrinterMac(found.mac);
        state_.WritePrinterMac();
        state_.TouchChangedMarker();
      }
      state_.WriteAttachmentLog(records_, count_);
      return;
    }
    // The MAC file keeps the printer learnt on the direct link; only the log shows the new one.
    state_.SetPrinterAddress(found.printerAddress);
    if (!SameIgnoringCase(state_.PrinterMac(), found.mac)) state_.SetPrinterMac(found.mac);
    state_.WriteAttachmentLog(records_, count_);
    state_.TouchChangedMarker();
    ApplyFileSetLocal(state_, services_);
  }

  void OnSiteNetwork(const PrinterAddressRecord& found) {
    if (SameIgnoringCase(state_.PrinterAddress(), found.printerAddress)) return;
    state_.SetPrinterAddress(found.printerAddress);
    state_.WriteAttachmentLog(records_, count_);
    state_.TouchChangedMarker();
    ApplyFileSetLocal(state_, services_);
  }

  void Probe() {
    count_ = 0;
    LookupArpMac(kDirectPrinterAddress, records_, count_, services_.arp);
    DiscoverPrinterMacs(hosts_, kDiscoveryTimeLimit, records_, count_,
                        {services_.transport, services_.clock});
  }

  const AttachServices& services_;
  CDetachedPrinterDlg state_;
  std::vector<PrinterAddressRecord> records_;
  int count_ = 0;
  HostAddressList hosts_;
};

}  // namespace

void RunPrinterIpMode(const AttachServices& services) {
  PrinterIpWatcher(services).Run();
}

void RunPrinterIpMode() {
  HeadlessMessageSink sink;
  const ScopedMessageSink installed(sink);
  const auto transport = MakeSocketTransport();
  const AttachServices services{platform::SystemClock(),
                                platform::SystemHostAddresses(),
                                platform::SystemArpCache(),
                                *transport,
                                platform::SystemServiceControl(),
                                VireoLibrary(),
                                SystemFiles(),
                                platform::DriveE()};
  RunPrinterIpMode(services);
}

}  // namespace azu
