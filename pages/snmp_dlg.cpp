#include "pages/snmp_dlg.h"

#include <array>
#include <optional>

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/wait_cursor.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

constexpr int kVersion1 = 0;
constexpr int kVersion3 = 1;
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
  versions.InsertString(kVersion1, GetText("V_SNMPV1"));
  versions.InsertString(kVersion3, GetText("V_SNMPV3"));
  versions.SetCurSel(kVersion1);
  ShowVersion(kVersion1);
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
  if (version != kVersion1 && version != kVersion3) return;
  for (const int id : kVersion1Group) EnableItem(id, version == kVersion1);
  for (const int id : kVersion3Group) EnableItem(id, version == kVersion3);
}

// Version 1 writes the communities and removes the SNMPv3 keys; version 3 the reverse.
PageChange CSNMPDlg::Change(bool version1) const {
  const auto v1Only = [version1](const std::string& value) {
    return version1 ? std::optional<std::string>(value) : std::nullopt;
  };
  const auto v3Only = [version1](const std::string& value) {
    return version1 ? std::nullopt : std::optional<std::string>(value);
  };
  PageChange change;
  change.serverPath = kMainConfig;
  change.messagePrefix = "M_SNMP_";
  change.keys = {
      {"snmp.version", version1 ? "1" : "3"},
      {"snmp.getcommunityname", v1Only(getCommunity)},
      {"snmp.setcommunityname", v1Only(setCommunity)},
      {"snmp.username", v3Only(userName)},
      {"snmp.authpassword", v3Only(authPassword)},
      {"snmp.privpassword", v3Only(privPassword)},
  };
  return change;
}

void CSNMPDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage = nullptr,  // empty names and passwords are written as empty values
                .askPassword = services_.askPassword,
                .transaction = [this, &library](VIREO_CONNECTION connection) {
                  const int version = Combo(kVersionListId).GetCurSel();
                  if (version != kVersion1 && version != kVersion3) return;
                  RunTransactionAndOfferReboot(library, connection, Change(version == kVersion1));
                }});
}

}  // namespace azu
