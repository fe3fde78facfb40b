#include "pages/http_dlg.h"

#include <string>

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {
namespace {
constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
constexpr std::uint32_t kMaxPort = 65535;
}  // namespace

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
  RunConfigure(library, serverName,
               {.checkPage =
                    [this] {
                      if (httpPort != httpsPort) return true;
                      ShowTextMessage("M_HTTP_SAMEPORT", kNoticeBox);
                      return false;
                    },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      PageChange change;
                      change.kind = PageChange::Kind::Replace;
                      change.serverPath = kEngineHttp;
                      change.messagePrefix = "M_HTTP_";
                      change.lines = {"HTTP=" + std::to_string(httpPort),
                                      "HTTPS=" + std::to_string(httpsPort)};
                      RunTransactionAndOfferReboot(library, connection, change);
                    }});
}

}  // namespace azu
