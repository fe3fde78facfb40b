#pragma once
// The server files the watcher works on: 13 live files, their direct-connection and
// network-switch variants (row i of each set belongs together), and the five state files.

#include <array>
#include <string_view>

#include "server/zorne_constants.h"

namespace azu {

// How the printer is attached, decided by its address alone.
enum class AttachmentMode { DirectConnection, NetworkSwitch };

inline constexpr std::string_view kDirectServerAddress = "100.100.100.102";

AttachmentMode ModeOf(std::string_view printerAddress);

inline constexpr int kFileSetRows = 13;
inline constexpr int kLiveSet = 0;
inline constexpr int kDirectSet = 13;
inline constexpr int kNetworkSet = 26;
inline constexpr int kPrinterMacFile = 39;
inline constexpr int kAttachmentLog = 40;
inline constexpr int kActiveMarker = 41;
inline constexpr int kExitMarker = 42;
inline constexpr int kChangedMarker = 43;

// Rows whose templates carry the two fixed addresses.
inline constexpr int kFirstAddressRow = 3;

extern const std::array<std::string_view, 44> kFileTable;

// The first entry of the set that `mode` installs.
int SetOf(AttachmentMode mode);

}  // namespace azu
