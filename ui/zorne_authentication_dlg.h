#pragma once
// The password prompt (dialog 135): asks for the Zorne server's administrator password before a
// page connects.

#include <optional>
#include <string>

#include "framework/dialog.h"

namespace azu {

class CZorneAuthenticationDlg : public Dialog {
 public:
  static constexpr int kPasswordId = 1015;

  CZorneAuthenticationDlg();
  std::string password;  // as typed, possibly empty

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
};

// Runs the prompt; the password on OK, nullopt on Cancel.
std::optional<std::string> AskZornePassword();

}  // namespace azu
