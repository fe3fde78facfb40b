#include "ui/zorne_authentication_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {

CZorneAuthenticationDlg::CZorneAuthenticationDlg() : Dialog(kAuthenticationDialogTemplate) {}

bool CZorneAuthenticationDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  SetCaption(GetText("L_AUTHENTICATE"));
  SetItemText(1014, GetText("P_ZORNEPASSWORD"));
  SetItemText(IDOK, GetText("L_OK"));
  SetItemText(IDCANCEL, GetText("L_CANCEL"));
  return true;
}

void CZorneAuthenticationDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kPasswordId, password);
}

std::optional<std::string> AskZornePassword() {
  CZorneAuthenticationDlg prompt;
  if (prompt.DoModal() != IDOK) return std::nullopt;
  return prompt.password;
}

}  // namespace azu
