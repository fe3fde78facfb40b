#include "pages/tallyon_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/tallyon_rules.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {

CTallyonDlg::CTallyonDlg(PageServices services)
    : CPage(kTallyonPageTemplate, std::move(services)) {}

bool CTallyonDlg::OnInitDialog() {
  CPage::OnInitDialog();
  SetItemText(1028, GetText("P_USERID"));
  SetItemText(1029, GetText("P_PASSCODE"));
  return true;
}

void CTallyonDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kUserIdId, userId, kMaxUserId);
  dx.Text(kPasscodeId, passcode, kMaxPasscode);
}

void CTallyonDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(
      library, serverName,
      {.checkPage = nullptr,  // empty credentials are written as empty values
       .askPassword = services_.askPassword,
       .transaction = [this, &library](VIREO_CONNECTION connection) {
         RunPagePlan(library, connection, TallyonPlan({userId, passcode}), RebootOffer::Ask);
       }});
}

}  // namespace azu
