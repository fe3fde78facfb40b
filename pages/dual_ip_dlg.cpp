#include "pages/dual_ip_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "pages/port_filter_rules.h"
#include "pages/server_entry.h"
#include "resources/dialogs/dialog_templates.h"
#include "server/configure.h"
#include "server/transaction.h"
#include "server/zorne_constants.h"

namespace azu {
namespace {

constexpr const char* kAddressKey = "DualIPAddress";
constexpr const char* kMaskKey = "DualIPSubnetMask";

}  // namespace

CDualIPDlg::CDualIPDlg(PageServices services) : CPage(kDualIpPageTemplate, std::move(services)) {
  On(kAddId, Event::Clicked, [this] { OnModeClicked(); });
  On(kDeleteId, Event::Clicked, [this] { OnModeClicked(); });
}

bool CDualIPDlg::OnInitDialog() {
  CPage::OnInitDialog();
  SetItemText(kAddId, GetText("L_ADD"));
  SetItemText(kDeleteId, GetText("L_DELETE"));
  SetItemText(1026, GetText("P_IP"));
  SetItemText(1027, GetText("P_SUBNET"));
  return true;
}

void CDualIPDlg::DoDataExchange(DataExchange& dx) {
  dx.Radio(kAddId, mode);
  dx.IPAddress(kAddressId, address);
  dx.IPAddress(kMaskId, mask);
}

// Delete needs no address: the controls are greyed out, keeping what they show.
void CDualIPDlg::OnModeClicked() {
  UpdateData(true);
  if (mode == kAdd || mode == kDelete) {
    EnableItem(kAddressId, mode == kAdd);
    EnableItem(kMaskId, mode == kAdd);
  }
}

// The transactions write what the controls show, not the exchanged numbers.
std::string CDualIPDlg::AddressText() const {
  const IpAddressControl* control = IpAddress(kAddressId);
  return control != nullptr ? control->Text() : "";
}

std::string CDualIPDlg::MaskText() const {
  const IpAddressControl* control = IpAddress(kMaskId);
  return control != nullptr ? control->Text() : "";
}

void CDualIPDlg::Configure() {
  UpdateData(true);
  RunConfigure(services_.library, serverName,
               {.checkPage =
                    [this] {
                      if (!IsServerAddress(servers, serverName, AddressText())) return true;
                      ShowTextMessage("M_DUAL_SAMEIP", kNoticeBox);
                      return false;
                    },
                .askPassword = services_.askPassword,
                .transaction =
                    [this](VIREO_CONNECTION connection) {
                      if (mode == kAdd) {
                        Add(connection);
                      } else if (mode == kDelete) {
                        Delete(connection);
                      }
                    }});
}

void CDualIPDlg::Add(VIREO_CONNECTION connection) {
  ServerLibrary& library = services_.library;
  const std::string addressText = AddressText();
  const std::string maskText = MaskText();
  PageChange change;
  change.serverPath = kMainConfig;
  change.messagePrefix = "M_DUAL_ADD_";
  change.keys = {{kAddressKey, addressText}, {kMaskKey, maskText}};
  change.afterStore = [&](VIREO_FT_SESSION& session) {
    return StorePortFilterRules(library, session, addressText, maskText);
  };
  if (!RunTransaction(library, connection, change).completed) return;

  VIREO_ATTR_SESSION attributes{};
  if (const VIREO_STATUS s = library.OpenAttributes(connection, &attributes)) {
    ShowTextMessage("M_DUAL_ADD_OPENSESSION2", s, kErrorBox);
    return;
  }
  const VIREO_STATUS set = library.SetAttribute(&attributes, "portfilters_enabled", "yes");
  if (set != VIREO_OK) ShowTextMessage("M_DUAL_ADD_SETDEFAULT", set, kErrorBox);
  library.CloseAttributes(&attributes);
  if (set == VIREO_OK) OfferReboot(library, connection);
}

void CDualIPDlg::Delete(VIREO_CONNECTION connection) {
  ServerLibrary& library = services_.library;
  PageChange change;
  change.serverPath = kMainConfig;
  change.messagePrefix = "M_DUAL_DELETE_";
  change.keys = {{kAddressKey, std::nullopt}, {kMaskKey, std::nullopt}};
  change.storeOnlyIfDropped = true;  // a file without the keys is left as it was
  change.afterStore = [&library](VIREO_FT_SESSION& session) {
    return RemovePortFilterRules(library, session);
  };
  RunTransactionAndOfferReboot(library, connection, change);
}

}  // namespace azu
