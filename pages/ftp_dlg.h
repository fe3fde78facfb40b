#pragma once
// The Scan to FTP page (dialog 136): where scanned documents are sent, stored whole as the
// server's ScanToFtp_input.txt.

#include <string>

#include "pages/page.h"

namespace azu {

class CFTPDlg : public CPage {
 public:
  static constexpr int kServerId = 1016;
  static constexpr int kUserNameId = 1017;
  static constexpr int kPasswordId = 1015;
  static constexpr int kDestinationId = 1019;

  explicit CFTPDlg(PageServices services = ProgramPageServices());

  std::string ftpServer;
  std::string userName;
  std::string password;
  std::string destination;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
};

}  // namespace azu
