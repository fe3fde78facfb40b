#pragma once
// The Admin page (dialog 141): sets the printer administrator password, stored whole as the
// server's engineInfo file.

#include "pages/page.h"

namespace azu {

class CAdminDlg : public CPage {
 public:
  static constexpr int kPasswordId = 1015;
  static constexpr int kMaxPassword = 30;

  explicit CAdminDlg(PageServices services = ProgramPageServices());

  std::string adminPassword;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
};

}  // namespace azu
