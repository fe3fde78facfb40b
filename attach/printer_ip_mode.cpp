#include "attach/printer_ip_mode.h"

#include <vector>

#include "attach/detached_printer_dlg.h"
#include "attach/file_set_switch.h"
#include "attach/headless_message_sink.h"
#include "attach/printer_discovery.h"
#include "attach/printer_search.h"
#include "platform/ascii_case.h"
#include "platform/drive_e.h"
#include "platform/service_control.h"
#include "platform/stop_request.h"
#include "platform/temp_file.h"
#include "server/server_library.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

using platform::EqualsIgnoringAsciiCase;

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
    FinishCutShortSwitch(state_, services_);
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
  // A stop request ends both loops between their steps; a probe it cut short is not acted on.
  [[nodiscard]] bool Stopped() const { return services_.stop.Requested(); }
  bool Pause() {
    return services_.clock.SleepUnlessStopped(kPollPauseMilliseconds, services_.stop);
  }

  void Learn() {
    while (!Stopped() && !state_.CheckExitMarker()) {
      Probe();
      if (!Pause()) return;
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
      if (!Pause()) return;
      state_.TouchActiveMarker();
      done = state_.CheckExitMarker();
      Probe();
      if (Stopped()) return;
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
      if (!EqualsIgnoringAsciiCase(state_.PrinterMac(), found.mac)) {
        state_.SetPrinterMac(found.mac);
        state_.WritePrinterMac();
        state_.TouchChangedMarker();
      }
      state_.WriteAttachmentLog(records_, count_);
      return;
    }
    // The MAC file keeps the printer learnt on the direct link; only the log shows the new one.
    state_.SetPrinterAddress(found.printerAddress);
    if (!EqualsIgnoringAsciiCase(state_.PrinterMac(), found.mac)) state_.SetPrinterMac(found.mac);
    state_.WriteAttachmentLog(records_, count_);
    state_.TouchChangedMarker();
    ApplyFileSetLocal(state_, services_);
  }

  void OnSiteNetwork(const PrinterAddressRecord& found) {
    if (EqualsIgnoringAsciiCase(state_.PrinterAddress(), found.printerAddress)) return;
    state_.SetPrinterAddress(found.printerAddress);
    state_.WriteAttachmentLog(records_, count_);
    state_.TouchChangedMarker();
    ApplyFileSetLocal(state_, services_);
  }

  void Probe() {
    count_ = 0;
    LookupArpMac(kDirectPrinterAddress, records_, count_, services_.arp);
    DiscoverPrinterMacs(hosts_, kDiscoveryTimeLimit, records_, count_,
                        {services_.transport, services_.clock, &services_.stop});
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
  // First, so that a service manager's stop always finds the working copies to delete.
  platform::CatchStopSignals();
  HeadlessMessageSink sink;
  const ScopedMessageSink installed(sink);
  const std::string driveE = platform::DriveE();
  const auto files = MakeSystemFiles(driveE, WriteHeadlessLog);
  const auto transport = MakeSocketTransport();
  const AttachServices services{platform::SystemClock(),
                                platform::SystemHostAddresses(),
                                platform::SystemArpCache(),
                                *transport,
                                platform::SystemServiceControl(),
                                VireoLibrary(),
                                *files,
                                driveE,
                                platform::ProcessStopRequest(),
                                WriteHeadlessLog};
  // A root process says what its environment chose, so that an administrator sees it.
  const auto origin = [](std::string_view variable) {
    return variable.empty() ? std::string(" (default)") : " (from " + std::string(variable) + ")";
  };
  WriteHeadlessLog("watching drive E: at " + driveE + origin(platform::DriveESource()));
  WriteHeadlessLog("services are stopped and started by " + platform::ServiceControlProgram() +
                   origin(platform::ServiceControlSource()));
  WriteHeadlessLog("working copies go to " + platform::TemporaryFolder());
  RunPrinterIpMode(services);
  if (platform::ProcessStopRequest().Requested()) WriteHeadlessLog("stopped on request");
}

}  // namespace azu
