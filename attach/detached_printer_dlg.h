#pragma once
// The attachment state of the headless watcher: the server's and the printer's address, the
// printer's MAC, and the 13 working copies through which a file set is copied, edited and
// installed. It opens no window.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "attach/file_table.h"
#include "attach/local_files.h"
#include "attach/printer_records.h"
#include "platform/temp_file.h"

namespace azu {

class CDetachedPrinterDlg {
 public:
  // `driveE` is the root that server paths map onto. Makes the 13 working copies (empty files of
  // our own in the temporary folder); they are deleted with the object.
  CDetachedPrinterDlg(std::string driveE, LocalFiles& files);
  CDetachedPrinterDlg(const CDetachedPrinterDlg&) = delete;
  CDetachedPrinterDlg& operator=(const CDetachedPrinterDlg&) = delete;
  CDetachedPrinterDlg(CDetachedPrinterDlg&&) = delete;
  CDetachedPrinterDlg& operator=(CDetachedPrinterDlg&&) = delete;
  ~CDetachedPrinterDlg() = default;

  // The local file of a server path: /not-scsi0/ lies under azu/server on drive E:, /harddisk2/
  // at its top.
  [[nodiscard]] std::string LocalPath(std::string_view serverPath) const;

  // Saves each missing variant as a copy of its live file; existing variants are never touched.
  void EnsureLocalCompanions();
  // The rows copied from `mode`'s variants into the working copies (13: all).
  int CopyFileSetLocal(AttachmentMode mode);
  // Sets URL in copy 0 to the printer address; in network-switch mode also puts the printer's
  // and the server's address for the fixed ones in rows 3 to 12. 13, or the row that failed.
  int EditFileSet(AttachmentMode mode);
  // Installs the working copies over the live files as one switch that survives a crash: each
  // new file staged whole beside its live file, then the switch journal, then the staged files
  // renamed over the live ones in row order; the journal (now at its restart step) stays until
  // EndSwitch(). When a row fails the rows already installed are put back and nothing staged or
  // journaled is left, so the live set is never a mix. 13, or the row that failed.
  int InstallFileSetLocal();
  // After the restart that follows an install: the switch is complete, its journal goes.
  void EndSwitch();
  // Deletes every staged file of the live set (what a switch cut short before its journal left).
  void RemoveStagedFiles();

  // Rewrites every line of `key` (any case) to key=value. Open failures are shown.
  bool SetKeyInFile(const std::string& file, std::string_view key, std::string_view value);
  // Replaces every `from` by `to`; a file without `from` is left alone. Open failures are shown.
  bool ReplaceInFile(const std::string& file, std::string_view from, std::string_view to);

  // The URL key of the live maj_0.cfg as printer address; false when the file cannot be read.
  // The address stays known as the one the live set was made for.
  bool ReadPrinterAddress();
  // The first line of the printer MAC file; false when there is no such file.
  bool ReadPrinterMac();
  // False when the MAC is empty or cannot be written.
  bool WritePrinterMac();
  // The report of the last search: printer address, MAC and the records found.
  bool WriteAttachmentLog(std::span<const PrinterAddressRecord> records, int count);
  bool TouchActiveMarker();
  bool TouchChangedMarker();
  // True while a non-empty exit marker stays; an empty one is consumed (true when deleted).
  bool CheckExitMarker();

  [[nodiscard]] const std::string& WorkingCopy(int row) const;

  [[nodiscard]] const std::string& ServerAddress() const { return serverAddress_; }
  [[nodiscard]] const std::string& PrinterAddress() const { return printerAddress_; }
  [[nodiscard]] const std::string& PrinterMac() const { return printerMac_; }
  void SetServerAddress(std::string address) { serverAddress_ = std::move(address); }
  void SetPrinterAddress(std::string address) { printerAddress_ = std::move(address); }
  void SetPrinterMac(std::string mac) { printerMac_ = std::move(mac); }

 private:
  [[nodiscard]] std::string LocalFile(int entry) const;
  bool Touch(int entry);

  std::string driveE_;
  LocalFiles& files_;
  std::array<std::optional<platform::TempFile>, kFileSetRows> workingCopies_;
  std::string serverAddress_;
  std::string printerAddress_;
  std::string printerMac_;
  std::optional<std::string> livePrinterAddress_;  // what the live set says, once read
};

}  // namespace azu
