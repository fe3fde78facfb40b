// The part of Dialog every back end shares: the message map, the standard commands, data
// exchange and what the template alone decides (default command, radio groups, the tab strip).

#include "framework/dialog.h"

#include "framework/data_exchange.h"
#include "framework/message_box.h"

namespace azu {

const ControlTemplate* Dialog::ControlOf(int id) const {
  for (const ControlTemplate& control : template_.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

WindowHandle Dialog::ItemOfKind(int id, ControlKind kind) const {
  const ControlTemplate* control = ControlOf(id);
  return control != nullptr && control->kind == kind ? Item(id) : nullptr;
}

ComboBox Dialog::Combo(int id) const {
  return ComboBox(ItemOfKind(id, ControlKind::ComboBox));
}

TabControl Dialog::Tabs(int id) const {
  return TabControl(ItemOfKind(id, ControlKind::TabControl));
}

ListView Dialog::List(int id) const {
  return ListView(ItemOfKind(id, ControlKind::ListView));
}

IpAddressControl Dialog::IpAddress(int id) const {
  return IpAddressControl(ItemOfKind(id, ControlKind::IPAddress));
}

int Dialog::DefaultCommand() const {
  for (const ControlTemplate& control : template_.controls) {
    if (control.kind == ControlKind::DefPushButton) return control.id;
  }
  return IDOK;
}

bool Dialog::SelectNextTab(bool forward) {
  for (const ControlTemplate& control : template_.controls) {
    if (control.kind != ControlKind::TabControl) continue;
    TabControl tabs = Tabs(control.id);
    if (!tabs.IsValid() || !IsItemEnabled(control.id)) return false;
    tabs.SelectNext(forward);
    return true;
  }
  return false;
}

std::vector<int> Dialog::RadioGroup(int firstId) const {
  std::vector<int> ids;
  bool inGroup = false;
  for (const ControlTemplate& control : template_.controls) {
    if (!inGroup) {
      inGroup = control.id == firstId;
      if (inGroup) ids.push_back(control.id);
      continue;
    }
    if (control.kind != ControlKind::RadioButton || (control.style & style::kGroup) != 0) break;
    ids.push_back(control.id);
  }
  return ids;
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::DoDataExchange(DataExchange& /*dx*/) {}

bool Dialog::UpdateData(bool saveAndValidate) {
  if (Window() == nullptr) return false;
  DataExchange dx(*this, saveAndValidate);
  DoDataExchange(dx);
  return !dx.Failed();
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void Dialog::On(int id, Event event, std::function<void()> handler) {
  handlers_[{id, event}] = std::move(handler);
}

void Dialog::Command(int id) {
  if (id == IDOK) {
    OnOK();
  } else if (id == IDCANCEL) {
    OnCancel();
  } else {
    Notify(id, Event::Clicked);
  }
}

void Dialog::Notify(int id, Event event) {
  const auto handler = handlers_.find({id, event});
  if (handler != handlers_.end()) handler->second();
}

void Dialog::WindowMenuChosen(std::size_t index) {
  if (index < menuEntries_.size() && menuEntries_[index]) menuEntries_[index]();
}

}  // namespace azu
