#include "attach/detached_printer_dlg.h"

#include <cstdio>
#include <vector>

#include "app/text_format.h"
#include "app/text_table.h"
#include "attach/text_edits.h"
#include "framework/message_box.h"
#include "platform/drive_e.h"
#include "server/line_rewrite.h"

namespace azu {
namespace {

constexpr std::string_view kUrlKey = "URL";
constexpr std::string_view kSystemPrefix = "/not-scsi0/";
constexpr std::string_view kDataPrefix = "/harddisk2/";
// Stands for the drive while the path is rewritten, so a drive root that itself looks like a
// server path is never rewritten.
constexpr char kDriveMark = '\x01';

void ReplaceEvery(std::string& text, std::string_view from, std::string_view to) {
  text = ReplaceAllInText(text, from, to, nullptr);
}

void ShowOpenFailure(const char* key, int error) {
  ShowMessageBox(FormatNumber(GetText(key), error), kErrorBox);
}

const std::string kNoFile;

}  // namespace

CDetachedPrinterDlg::CDetachedPrinterDlg(std::string driveE, LocalFiles& files)
    : driveE_(std::move(driveE)), files_(files) {
  for (auto& copy : workingCopies_) copy = platform::TempFile::Create(nullptr);
}

std::string CDetachedPrinterDlg::LocalPath(std::string_view serverPath) const {
  std::string path(serverPath);
  const std::string drive(1, kDriveMark);
  ReplaceEvery(path, kSystemPrefix, drive + "/azu/server/");
  ReplaceEvery(path, kDataPrefix, drive + "/");
  if (platform::kPathSeparator != '/') ReplaceEvery(path, "/", {&platform::kPathSeparator, 1});
  ReplaceEvery(path, drive, driveE_);
  return path;
}

std::string CDetachedPrinterDlg::LocalFile(int entry) const {
  return LocalPath(kFileTable[static_cast<std::size_t>(entry)]);
}

const std::string& CDetachedPrinterDlg::WorkingCopy(int row) const {
  const auto& copy = workingCopies_[static_cast<std::size_t>(row)];
  return copy ? copy->Path() : kNoFile;
}

void CDetachedPrinterDlg::EnsureLocalCompanions() {
  for (const int set : {kDirectSet, kNetworkSet}) {
    for (int row = 0; row < kFileSetRows; ++row) {
      const std::string variant = LocalFile(set + row);
      if (files_.Size(variant)) continue;
      std::string content;
      if (files_.Read(LocalFile(kLiveSet + row), content, nullptr)) {
        files_.Replace(variant, content, nullptr);
      }
    }
  }
}

int CDetachedPrinterDlg::CopyFileSetLocal(AttachmentMode mode) {
  const int set = SetOf(mode);
  std::string content;
  for (int row = 0; row < kFileSetRows; ++row) {
    if (!files_.Read(LocalFile(set + row), content, nullptr) ||
        !files_.Replace(WorkingCopy(row), content, nullptr)) {
      return row;
    }
  }
  return kFileSetRows;
}

int CDetachedPrinterDlg::EditFileSet(AttachmentMode mode) {
  if (!SetKeyInFile(WorkingCopy(0), kUrlKey, printerAddress_)) return 0;
  if (mode == AttachmentMode::DirectConnection) return kFileSetRows;
  for (int row = kFirstAddressRow; row < kFileSetRows; ++row) {
    // Printer first: with a printer at the server's fixed address both end up as the server.
    if (!ReplaceInFile(WorkingCopy(row), kDirectPrinterAddress, printerAddress_) ||
        !ReplaceInFile(WorkingCopy(row), kDirectServerAddress, serverAddress_)) {
      return row;
    }
  }
  return kFileSetRows;
}

bool CDetachedPrinterDlg::SetKeyInFile(const std::string& file, std::string_view key,
                                       std::string_view value) {
  std::string bytes;
  int error = -1;
  if (!files_.Read(file, bytes, &error)) {
    ShowOpenFailure("M_DETACH_OPEN", error);
    return false;
  }
  const std::string edited = SetKeyInText(FromTextMode(bytes), key, value);
  if (!files_.Replace(file, ToTextMode(edited), &error)) {
    ShowOpenFailure("M_DETACH_OPEN2", error);
    return false;
  }
  return true;
}

bool CDetachedPrinterDlg::ReplaceInFile(const std::string& file, std::string_view from,
                                        std::string_view to) {
  std::string bytes;
  int error = -1;
  if (!files_.Read(file, bytes, &error)) {
    ShowOpenFailure("M_DETACH_OPEN", error);
    return false;
  }
  int replaced = 0;
  const std::string edited = ReplaceAllInText(FromTextMode(bytes), from, to, &replaced);
  if (replaced == 0) return true;
  if (!files_.Replace(file, ToTextMode(edited), &error)) {
    ShowOpenFailure("M_DETACH_OPEN2", error);
    return false;
  }
  return true;
}

bool CDetachedPrinterDlg::ReadPrinterAddress() {
  std::string bytes;
  if (!files_.Read(LocalFile(kLiveSet), bytes, nullptr)) return false;
  bool found = false;
  ForEachLine(FromTextMode(bytes), [&](std::string_view line) {
    if (found) return;
    const std::string_view trimmed = TrimmedText(line);
    if (KeysMatch(LineKey(trimmed), kUrlKey)) {
      printerAddress_.assign(trimmed.substr(std::min(trimmed.size(), kUrlKey.size() + 1)));
      found = true;
    }
  });
  livePrinterAddress_ = printerAddress_;
  return true;
}

bool CDetachedPrinterDlg::ReadPrinterMac() {
  std::string bytes;
  if (!files_.Read(LocalFile(kPrinterMacFile), bytes, nullptr)) return false;
  const std::string text = FromTextMode(bytes);
  printerMac_.assign(TrimmedText(std::string_view(text).substr(0, text.find('\n'))));
  return true;
}

bool CDetachedPrinterDlg::WritePrinterMac() {
  if (printerMac_.empty()) return false;
  return files_.Replace(LocalFile(kPrinterMacFile), printerMac_, nullptr);
}

bool CDetachedPrinterDlg::WriteAttachmentLog(std::span<const PrinterAddressRecord> records,
                                             int count) {
  std::string text;
  text.append("PrinterIP=").append(printerAddress_).append("\n");
  text.append("PrinterMAC=").append(printerMac_).append("\n");
  text.append("MACAddresses:").append(std::to_string(count)).append("\n");
  const std::size_t shown = std::min(records.size(), static_cast<std::size_t>(std::max(count, 0)));
  for (const PrinterAddressRecord& record : records.first(shown)) {
    text.append(record.localAddress).append(" ").append(record.printerAddress).append(" ");
    text.append(record.mac).append("\n");
  }
  return files_.Replace(LocalFile(kAttachmentLog), ToTextMode(text), nullptr);
}

bool CDetachedPrinterDlg::Touch(int entry) {
  return files_.Replace(LocalFile(entry), {}, nullptr);
}

bool CDetachedPrinterDlg::TouchActiveMarker() {
  return Touch(kActiveMarker);
}

bool CDetachedPrinterDlg::TouchChangedMarker() {
  return Touch(kChangedMarker);
}

bool CDetachedPrinterDlg::CheckExitMarker() {
  const std::string marker = LocalFile(kExitMarker);
  const auto size = files_.Size(marker);
  if (!size) return false;
  if (*size > 0) return true;
  return files_.Remove(marker);
}

}  // namespace azu
