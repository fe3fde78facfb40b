#pragma once
// One headless watcher's world for a test: a seeded drive, fakes for every collaborator, and a
// message recorder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/text_table.h"
#include "attach/attach_services.h"
#include "framework/recording_message_sink.h"
#include "platform/resource.h"
#include "tests/attach/attach_fakes.h"
#include "tests/attach/drive_root.h"
#include "tests/support/fake_library.h"
#include "tests/support/temp_folder.h"

namespace azu::test {

inline constexpr const char* kSiteServer = "198.51.100.2";
inline constexpr const char* kSitePrinter = "198.51.100.7";
inline constexpr const char* kPrinterMac = "00:1b:2c:3d:4e:5f";
inline constexpr const char* kOtherMac = "00:1b:2c:3d:4e:60";

class WatcherTest : public testing::Test {
 protected:
  WatcherTest() {
    ProcessTextTable().Load(platform::FindRawResource(platform::kTextTableResourceId), "en");
    hosts.addresses = {Address(kSiteServer), Address("100.100.100.102")};
    drive.Write("/not-scsi0/tmp/.keep", "");
    // Never loop for ever: after many pauses an exit marker appears.
    clock.onSleep = [this](std::size_t pauses) {
      if (pauses == 200) drive.Write(kExitMarker, "stop");
      if (onPause) onPause(pauses);
    };
  }

  AttachServices Services() {
    return {clock,    hosts,
            arp,      transport,
            services, library,
            files,    drive.Root(),
            stop,     [this](std::string_view line) {
              logged.emplace_back(line); }};
  }
  // The server configured for `printerAddress`, with the printer MAC file when `mac` is given.
  void Configure(const std::string& printerAddress, const char* mac) {
    drive.SeedLiveFiles(printerAddress);
    drive.SeedVariants();
    if (mac != nullptr) drive.Write(kPrinterMacFile, mac);
  }
  void PrinterOnDirectLink(const std::string& mac) {
    arp.entries = {{"100.100.100.101", "100.100.100.102", mac}};
    transport.printers = {{"100.100.100.102", "100.100.100.101", mac}};
  }
  void PrinterOnSiteNetwork(const std::string& through, const std::string& address,
                            const std::string& mac) {
    arp.entries.clear();
    transport.printers = {{through, address, mac}};
  }
  // The live set as it is now.
  std::vector<std::string> LiveSet() const {
    std::vector<std::string> set;
    for (int row = 0; row < kFileSetRows; ++row)
      set.push_back(drive.Read(kLiveSet + row).value_or("-"));
    return set;
  }
  bool Restarted() const { return !services.calls.empty() || !library.calls.empty(); }

  TempFolderScope temp;
  DriveRoot drive;
  FakeClock clock;
  FakeHostAddresses hosts;
  FakeArpCache arp;
  FakeTransport transport{clock};
  FakeServiceControl services;
  FakeLibrary library;
  FailingFiles files{drive.Root()};
  platform::StopRequest stop;
  std::vector<std::string> logged;
  RecordingMessageSink recorder;
  ScopedMessageSink installed{recorder};
  std::function<void(std::size_t)> onPause;
};

}  // namespace azu::test
