#include "pages/snmp_dlg.h"

#include <array>

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/snmp_rules.h"
#include "server/configure.h"

namespace azu {
namespace {

constexpr std::array kVersion1Group{1048, 1050, 1042, 1051, 1043};
constexpr std::array kVersion3Group{1049, 1052, 1044, 1053, 1045};

}  // namespace

CSNMPDlg::CSNMPDlg(PageServices services) : CPage(kSnmpPageTemplate, std::move(services)) {
  On(kVersionListId, Event::SelChange, [this] { ShowVersion(Combo(kVersionListId).GetCurSel()); });
}

bool CSNMPDlg::OnInitDialog() {
  const WaitCursor wait;
  CPage::OnInitDialog();
  // Inserted at their places: the list's sorted style must not reorder the versions.
  ComboBox versions = Combo(kVersionListId);
  versions.InsertString(kSnmpVersion1, GetText("V_SNMPV1"));
  versions.InsertString(kSnmpVersion3, GetText("V_SNMPV3"));
  versions.SetCurSel(kSnmpVersion1);
  ShowVersion(kSnmpVersion1);
  SetItemText(1055, GetText("P_SNMPVERSION"));
  SetItemText(1048, GetText("L_SNMPV1"));
  SetItemText(1049, GetText("L_SNMPV3"));
  SetItemText(1050, GetText("P_COMMUNITYGET"));
  SetItemText(1051, GetText("P_COMMUNITYSET"));
  SetItemText(1052, GetText("P_AUTHENTICATIONPASSWORD"));
  SetItemText(1053, GetText("P_PRIVACYPASSWORD"));
  return true;
}

void CSNMPDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kGetCommunityId, getCommunity, kMaxCommunity);
  dx.Text(kSetCommunityId, setCommunity, kMaxCommunity);
  dx.Text(kAuthPasswordId, authPassword, kMaxPassword);
  dx.Text(kPrivPasswordId, privPassword, kMaxPassword);
}

void CSNMPDlg::ShowVersion(int version) {
  if (version != kSnmpVersion1 && version != kSnmpVersion3) return;
  for (const int id : kVersion1Group) EnableItem(id, version == kSnmpVersion1);
  for (const int id : kVersion3Group) EnableItem(id, version == kSnmpVersion3);
}

void CSNMPDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage = nullptr,  // empty names and passwords are written as empty values
                .askPassword = services_.askPassword,
                .transaction = [this, &library](VIREO_CONNECTION connection) {
                  const SnmpFields fields{Combo(kVersionListId).GetCurSel(), getCommunity,
                                          setCommunity, authPassword, privPassword};
                  if (const auto plan = SnmpPlan(fields)) {
                    RunPagePlan(library, connection, *plan, RebootOffer::Ask);
                  }
                }});
}

}  // namespace azu
