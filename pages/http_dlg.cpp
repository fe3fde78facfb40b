#include "pages/http_dlg.h"

#include <string>

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/http_rules.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {

CHTTPDlg::CHTTPDlg(PageServices services) : CPage(kHttpPageTemplate, std::move(services)) {}

bool CHTTPDlg::OnInitDialog() {
  const WaitCursor wait;
  CPage::OnInitDialog();
  SetItemText(1054, GetText("P_PORT"));
  SetItemText(1055, GetText("P_PORT2"));
  return true;
}

void CHTTPDlg::DoDataExchange(DataExchange& dx) {
  dx.UnsignedNumber(kHttpPortId, httpPort, 0, kMaxPort);
  dx.UnsignedNumber(kHttpsPortId, httpsPort, 0, kMaxPort);
}

void CHTTPDlg::Configure() {
  if (!UpdateData(true)) return;  // the framework has prompted and focused the field
  ServerLibrary& library = services_.library;
  const HttpFields fields{httpPort, httpsPort};
  RunConfigure(library, serverName,
               {.checkPage = [&fields] { return PassesCheck(CheckHttp(fields)); },
                .askPassword = services_.askPassword,
                .transaction =
                    [&fields, &library](VIREO_CONNECTION connection) {
                      RunPagePlan(library, connection, HttpPlan(fields), RebootOffer::Ask);
                    }});
}

}  // namespace azu
