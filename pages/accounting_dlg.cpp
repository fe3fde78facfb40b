#include "pages/accounting_dlg.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "pages/text_compare.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

// The two lists' entries, in the order the value of a list text is looked up.
struct ListEntry {
  const char* key;
  const char* word;
};
constexpr std::array kEntries{
    ListEntry{"V_NONE", "None"},
    ListEntry{"V_VSA", "StandardAccounting"},
    ListEntry{"V_NETWORKACCOUNTING", "NetworkAccounting"},
    ListEntry{"V_DEFAULTGROUP", "DefaultAccount"},
    ListEntry{"V_GENERAL", "GeneralAccount"},
    ListEntry{"V_GROUP", "GroupAccount"},
};

// Whether a list text is the text of `key` in the user's language.
bool Is(const std::string& text, const char* key) {
  return SameText(text, TextOf(key));
}

// The word the server's file holds for a list text; empty for a text of no entry.
std::string ValueWord(const std::string& text) {
  const auto* entry = std::find_if(kEntries.begin(), kEntries.end(),
                                   [&](const ListEntry& e) { return Is(text, e.key); });
  return entry != kEntries.end() ? entry->word : "";
}

std::optional<std::string> When(bool condition, const std::string& value) {
  return condition ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

CAccountingDlg::CAccountingDlg(PageServices services)
    : CPage(kAccountingPageTemplate, std::move(services)) {
  On(kSystemListId, Event::SelChange, [this] { UpdateEnabling(); });
  On(kTypeListId, Event::SelChange, [this] { UpdateEnabling(); });
}

bool CAccountingDlg::OnInitDialog() {
  CPage::OnInitDialog();
  ComboBox types = Combo(kTypeListId);
  for (const char* key : {"V_DEFAULTGROUP", "V_GENERAL", "V_GROUP"}) types.AddString(GetText(key));
  types.SetCurSel(0);
  ComboBox systems = Combo(kSystemListId);
  for (const char* key : {"V_NONE", "V_VSA", "V_NETWORKACCOUNTING"}) {
    systems.AddString(GetText(key));
  }
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
  const std::string system = Combo(kSystemListId).GetWindowText();
  EnableItem(kTypeListId, !Is(system, "V_NETWORKACCOUNTING") && active);
  EnableItem(kAccountIdId, !(Is(system, "V_VSA") && !typeChosen) && active);
  EnableItem(kUserIdId, active);
}

// Standard Accounting takes numeric account IDs only, also while the field is disabled.
bool CAccountingDlg::AccountIdAccepted() const {
  if (Combo(kSystemListId).GetCurSel() != 1) return true;
  return std::all_of(accountId.begin(), accountId.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

// The keys and their conditions, from the lists' texts as they stand now.
PageChange CAccountingDlg::Change() const {
  const std::string system = Combo(kSystemListId).GetWindowText();
  const std::string type = Combo(kTypeListId).GetWindowText();
  const bool none = Is(system, "V_NONE");
  const bool network = Is(system, "V_NETWORKACCOUNTING");
  const bool defaultGroup = Is(system, "V_VSA") && Is(type, "V_DEFAULTGROUP");
  PageChange change;
  change.serverPath = kMainConfig;
  change.messagePrefix = "M_ACCOUNTING_";
  change.keys = {
      {"accounting.accountingsystem", ValueWord(system)},
      {"accounting.accounttype", When(!none && !network, ValueWord(type))},
      {"accounting.accountid", When(!accountId.empty() && !none && !defaultGroup, accountId)},
      {"accounting.userid", When(!userId.empty() && !none, userId)},
  };
  return change;
}

void CAccountingDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  RunConfigure(library, serverName,
               {.checkPage =
                    [this] {
                      if (AccountIdAccepted()) return true;
                      ShowTextMessage("M_ACCOUNTING_ACCOUNTIDNUMERIC", kNoticeBox);
                      return false;
                    },
                .askPassword = services_.askPassword,
                .transaction =
                    [this, &library](VIREO_CONNECTION connection) {
                      RunTransactionAndOfferReboot(library, connection, Change());
                    }});
}

}  // namespace azu
