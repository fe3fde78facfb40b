#pragma once
// The main window (dialog 102): the program's one top-level window.

#include "framework/dialog.h"

namespace azu {

class CAzuQuorvaneConfigDlg : public Dialog {
 public:
  CAzuQuorvaneConfigDlg();

 protected:
  bool OnInitDialog() override;
  void OnOK() override;  // the Configure command never closes the window

 private:
  void AddAboutEntry();
};

}  // namespace azu
