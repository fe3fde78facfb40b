#include "pages/accounting_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/accounting_rules.h"
#include "rules/text_compare.h"
#include "server/configure.h"

namespace azu {

CAccountingDlg::CAccountingDlg(PageServices services)
    : CPage(kAccountingPageTemplate, std::move(services)) {
  On(kSystemListId, Event::SelChange, [this] { UpdateEnabling(); });
  On(kTypeListId, Event::SelChange, [this] { UpdateEnabling(); });
}

bool CAccountingDlg::OnInitDialog() {
  CPage::OnInitDialog();
  ComboBox types = Combo(kTypeListId);
  for (const char* key : kAccountTypeKeys) types.AddString(GetText(key));
  types.SetCurSel(0);
  ComboBox systems = Combo(kSystemListId);
  for (const char* key : kAccountingSystemKeys) systems.AddString(GetText(key));
  systems.SetCurSel(0);
  SetItemText(1062, GetText("P_ACCOUNTINGSYSTEM"));
  SetItemText(1060, GetText("P_ACCOUNTTYPE"));
  SetItemText(1059, GetText("P_ACCOUNTID"));
  SetItemText(1028, GetText("P_USERID"));
  return true;  // the template's disabled controls already match None
}

void CAccountingDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kAccountIdId, accountId, kMaxId);
  dx.Text(kUserIdId, userId, kMaxId);
}

void CAccountingDlg::UpdateEnabling() {
  const bool active = Combo(kSystemListId).GetCurSel() != 0;
  const bool typeChosen = Combo(kTypeListId).GetCurSel() != 0;
  const std::string system = Combo(kSystemListId).GetSelectedText();
  EnableItem(kTypeListId, !IsTextOf(system, "V_NETWORKACCOUNTING") && active);
  EnableItem(kAccountIdId, !(IsTextOf(system, "V_VSA") && !typeChosen) && active);
  EnableItem(kUserIdId, active);
}

// The fields as the lists show them now.
AccountingFields CAccountingDlg::Fields() const {
  return {Combo(kSystemListId).GetCurSel(), Combo(kSystemListId).GetSelectedText(),
          Combo(kTypeListId).GetSelectedText(), accountId, userId};
}

void CAccountingDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage = [this] { return PassesCheck(CheckAccounting(Fields())); },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      RunPagePlan(library, connection, AccountingPlan(Fields()), RebootOffer::Ask);
                    }});
}

}  // namespace azu
