#include "pages/dual_ip_dlg.h"

#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/ip_address_control.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"
#include "rules/dual_ip_rules.h"
#include "server/configure.h"

namespace azu {
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

std::string CDualIPDlg::AddressText() const {
  const IpAddressControl control = IpAddress(kAddressId);
  return control.IsValid() ? control.Text() : "";
}

std::string CDualIPDlg::MaskText() const {
  const IpAddressControl control = IpAddress(kMaskId);
  return control.IsValid() ? control.Text() : "";
}

void CDualIPDlg::Configure() {
  UpdateData(true);
  ServerLibrary& library = services_.library;
  // The transactions write what the controls show, not the exchanged numbers.
  const DualIpFields fields{mode, AddressText(), MaskText()};
  RunConfigure(
      library, serverName,
      {.checkPage = [this,
                     &fields] { return PassesCheck(CheckDualIp(fields, servers, serverName)); },
       .askPassword = services_.askPassword,
       .transaction =
           [&fields, &library](VIREO_CONNECTION connection) {
             if (const auto plan = DualIpPlan(fields, library)) {
               RunPagePlan(library, connection, *plan, RebootOffer::Ask);
             }
           }});
}

}  // namespace azu
