#pragma once
// The server discovery dialog (dialog 137): lists the discovered servers, sorted, and gives the
// address of the one the user picks.

#include <string>
#include <vector>

#include "framework/dialog.h"

namespace azu {

class CZorneSearchDlg : public Dialog {
 public:
  static constexpr int kListId = 1001;

  CZorneSearchDlg();

  // Entries "address name(model)", written by the main window before each run.
  std::vector<std::string> servers;
  // The address part of the selected entry; read after an OK result.
  std::string chosen;

 protected:
  bool OnInitDialog() override;

 private:
  void OnItemChanged();
};

}  // namespace azu
