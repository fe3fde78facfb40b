#pragma once
// The About box (dialog 100): version text, copyright line and OK from the text table.

#include "framework/dialog.h"

namespace azu {

class CAboutDlg : public Dialog {
 public:
  CAboutDlg();

 protected:
  bool OnInitDialog() override;
};

}  // namespace azu
