#include "ui/zorne_search_dlg.h"

#include <algorithm>

#include "app/text_table.h"
#include "framework/message_box.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {
constexpr int kColumnMargin = 7;  // pixels beyond the widest entry
}  // namespace

CZorneSearchDlg::CZorneSearchDlg() : Dialog(kZorneSearchDialogTemplate) {
  On(kListId, Event::ItemChanged, [this] { OnItemChanged(); });
}

bool CZorneSearchDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  ListView list = List(kListId);
  list.InsertColumn(0, GetText("L_ZORNE"));
  int widest = 0;
  for (std::size_t i = 0; i < servers.size(); ++i) {
    list.InsertItem(static_cast<int>(i), servers[i].c_str());
    widest = std::max(widest, list.GetStringWidth(servers[i].c_str()));
  }
  list.SetColumnWidth(0, widest + kColumnMargin);
  SetCaption(GetText("L_ZORNESEARCH"));
  SetItemText(1038, GetText("P_ZORNES"));
  SetItemText(IDOK, GetText("L_OK"));
  SetItemText(IDCANCEL, GetText("L_CANCEL"));
  return true;
}

void CZorneSearchDlg::OnItemChanged() {
  const ListView list = List(kListId);
  const int selected = list.GetSelectedIndex();
  if (selected < 0) {
    chosen.clear();
    return;
  }
  const std::string text = list.GetItemText(selected);
  chosen = text.substr(0, text.find(' '));
}

}  // namespace azu
