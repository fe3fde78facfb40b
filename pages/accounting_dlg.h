#pragma once
// The Print Accounting page (dialog 142): the copier's accounting system and the account for the
// server's own system pages.

#include <string>

#include "pages/page.h"
#include "rules/accounting_rules.h"

namespace azu {

class CAccountingDlg : public CPage {
 public:
  static constexpr int kSystemListId = 1063;
  static constexpr int kTypeListId = 1041;
  static constexpr int kAccountIdId = 1057;
  static constexpr int kUserIdId = 1012;
  static constexpr int kMaxId = 32;

  explicit CAccountingDlg(PageServices services = ProgramPageServices());

  std::string accountId;
  std::string userId;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  void UpdateEnabling();
  [[nodiscard]] AccountingFields Fields() const;
};

}  // namespace azu
