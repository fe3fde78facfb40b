#include "pages/admin_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/admin_rules.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {

CAdminDlg::CAdminDlg(PageServices services) : CPage(kAdminPageTemplate, std::move(services)) {}

bool CAdminDlg::OnInitDialog() {
  const WaitCursor wait;
  CPage::OnInitDialog();
  SetItemText(1056, GetText("P_ADMINPASSWORD"));
  return true;
}

void CAdminDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kPasswordId, adminPassword, kMaxPassword);
}

void CAdminDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage = [this] { return PassesCheck(CheckAdmin({adminPassword})); },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      RunPagePlan(library, connection, AdminPlan({adminPassword}),
                                  RebootOffer::Ask);
                    }});
}

}  // namespace azu
