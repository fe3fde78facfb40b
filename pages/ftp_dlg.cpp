#include "pages/ftp_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"

namespace azu {
namespace {
constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";
}  // namespace

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

bool CFTPDlg::CheckFields() const {
  if (ftpServer.empty()) {
    ShowTextMessage("M_SPECIFYSERVER", kNoticeBox);
    return false;
  }
  if (userName.empty()) {
    ShowTextMessage("M_SPECIFYUSERNAME", kNoticeBox);
    return false;
  }
  return true;
}

void CFTPDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage = [this] { return CheckFields(); },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      // The server's scanner reads "name:value" lines taken verbatim.
                      PageChange change;
                      change.kind = PageChange::Kind::Replace;
                      change.serverPath = kScanToFtp;
                      change.messagePrefix = "M_FTP_";
                      change.lines = {"hostname:" + ftpServer, "username:" + userName};
                      if (!password.empty()) change.lines.push_back("password:" + password);
                      if (!destination.empty()) {
                        change.lines.push_back("destination:" + destination);
                      }
                      if (RunTransaction(library, connection, change).completed) {
                        ShowTextMessage("M_FTP_CONFIGURED", kInformationBox);
                      }
                    }});
}

}  // namespace azu
