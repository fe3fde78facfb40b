#include "pages/admin_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {
namespace {
constexpr const char* kEngineInfo = "/not-scsi0/config_files/engineInfo";
}  // namespace

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
               {.checkPage =
                    [this] {
                      if (!adminPassword.empty()) return true;
                      ShowTextMessage("M_ADMIN_SPECIFYPASSWORD", kNoticeBox);
                      return false;
                    },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      PageChange change;
                      change.kind = PageChange::Kind::Replace;
                      change.serverPath = kEngineInfo;
                      change.lines = {adminPassword};
                      change.messagePrefix = "M_ADMIN_";
                      RunTransactionAndOfferReboot(library, connection, change);
                    }});
}

}  // namespace azu
