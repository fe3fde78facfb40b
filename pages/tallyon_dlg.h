#pragma once
// The Print Tallyon page (dialog 130): the job-audit user ID and passcode for the server's own
// system pages.

#include <string>

#include "pages/page.h"

namespace azu {

class CTallyonDlg : public CPage {
 public:
  static constexpr int kUserIdId = 1012;
  static constexpr int kPasscodeId = 1013;
  static constexpr int kMaxUserId = 32;
  static constexpr int kMaxPasscode = 12;

  explicit CTallyonDlg(PageServices services = ProgramPageServices());

  std::string userId;
  std::string passcode;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
};

}  // namespace azu
