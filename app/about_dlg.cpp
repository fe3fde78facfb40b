#include "app/about_dlg.h"

#include "app/text_table.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {

CAboutDlg::CAboutDlg() : Dialog(kAboutDialogTemplate) {}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  SetItemText(1036, GetText("M_ABOUT_VERSION"));
  SetItemText(1037, GetText("M_ABOUT_COPYRIGHT"));
  SetItemText(IDOK, GetText("L_OK"));
  return true;
}

}  // namespace azu
