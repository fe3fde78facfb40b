#include "pages/ftp_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/ftp_rules.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {

CFTPDlg::CFTPDlg(PageServices services) : CPage(kFtpPageTemplate, std::move(services)) {}

bool CFTPDlg::OnInitDialog() {
  CPage::OnInitDialog();
  SetItemText(1031, GetText("P_SERVERIP"));
  SetItemText(1032, GetText("P_USERNAME"));
  SetItemText(1033, GetText("P_PASSWORD"));
  SetItemText(1034, GetText("P_DESTINATION"));
  SetItemText(1035, GetText("P_BLANKDIRECTORY"));
  return true;
}

void CFTPDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kServerId, ftpServer);
  dx.Text(kUserNameId, userName);
  dx.Text(kPasswordId, password);
  dx.Text(kDestinationId, destination);
}

void CFTPDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  const FtpFields fields{ftpServer, userName, password, destination};
  RunConfigure(library, serverName,
               {.checkPage = [&fields] { return PassesCheck(CheckFtp(fields)); },
                .askPassword = services_.askPassword,
                .transaction =
                    [&fields, &library](VIREO_CONNECTION connection) {
                      RunPagePlan(library, connection, FtpPlan(fields), RebootOffer::Ask);
                    }});
}

}  // namespace azu
