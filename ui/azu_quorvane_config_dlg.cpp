#include "ui/azu_quorvane_config_dlg.h"

#include <array>
#include <vector>

#include "app/about_dlg.h"
#include "app/text_table.h"
#include "framework/data_exchange.h"
#include "framework/message_box.h"
#include "framework/wait_cursor.h"
#include "pages/accounting_dlg.h"
#include "pages/admin_dlg.h"
#include "pages/dual_ip_dlg.h"
#include "pages/ftp_dlg.h"
#include "pages/http_dlg.h"
#include "pages/snmp_dlg.h"
#include "pages/tallyon_dlg.h"
#include "resources/dialogs/dialog_templates.h"

namespace azu {
namespace {

// The series list, in index order.
constexpr std::array<const char*, 5> kSeriesKeys{"V_QV50XX", "V_QV40XX", "V_QV30XX", "V_QV20XX",
                                                 "V_QV10XX"};

// The page rectangle inside the tab strip's client area, in pixels.
constexpr int kPageInsetX = 8;
constexpr int kPageInsetY = 15;
constexpr int kPageShiftY = 10;

}  // namespace

ServerDiscovery ProgramServerDiscovery() {
  return [](DiscoveredServer* records, int capacity, int* count) {
    DiscoverServers(kDiscoveryTimeLimit, records, capacity, count);
  };
}

CAzuQuorvaneConfigDlg::CAzuQuorvaneConfigDlg(PageServices services, ServerDiscovery discovery)
    : Dialog(kMainDialogTemplate),
      accounting_(std::make_unique<CAccountingDlg>(services)),
      admin_(std::make_unique<CAdminDlg>(services)),
      tallyon_(std::make_unique<CTallyonDlg>(services)),
      dualIp_(std::make_unique<CDualIPDlg>(services)),
      ftp_(std::make_unique<CFTPDlg>(services)),
      http_(std::make_unique<CHTTPDlg>(services)),
      snmp_(std::make_unique<CSNMPDlg>(services)),
      pageEntries_{{
          {accounting_.get(), "L_PRINTACCOUNTING", "M_ACCOUNTINGTAB"},
          {admin_.get(), "L_ADMIN", "M_ADMINTAB"},
          {tallyon_.get(), "L_PRINTTALLYON", "M_TALLYONTAB"},
          {dualIp_.get(), "L_DUALIP", "M_DUALIPTAB"},
          {ftp_.get(), "L_SCANTOFTP", "M_FTPTAB"},
          {http_.get(), "L_HTTP", "M_HTTPTAB"},
          {snmp_.get(), "L_SNMP", "M_SNMPTAB"},
      }},
      discovery_(std::move(discovery)) {
  On(kTabsId, Event::SelChange, [this] { OnTabChange(); });
  On(kSeriesListId, Event::SelChange, [this] { OnSeriesChange(); });
  On(kSearchId, Event::Clicked, [this] { OnSearch(); });
}

CAzuQuorvaneConfigDlg::~CAzuQuorvaneConfigDlg() {
  DestroyWindow();
}

void CAzuQuorvaneConfigDlg::DoDataExchange(DataExchange& dx) {
  dx.Text(kServerId, serverText_);
  dx.Text(kDescriptionId, description_);
}

bool CAzuQuorvaneConfigDlg::OnInitDialog() {
  const WaitCursor wait;
  Dialog::OnInitDialog();
  AddAboutEntry();

  ComboBox seriesList = Combo(kSeriesListId);
  for (std::size_t i = 0; i < kSeriesKeys.size(); ++i) {
    seriesList.InsertString(static_cast<int>(i), GetText(kSeriesKeys[i]));
  }
  seriesList.SetCurSel(0);
  series_ = std::make_unique<CQV50XX>();
  BuildTabs();

  SetItemText(1040, GetText("P_ZORNEIP"));
  SetItemText(kSearchId, GetText("L_SEARCH"));
  SetItemText(IDOK, GetText("L_CONFIGURE"));
  SetItemText(IDCANCEL, GetText("L_CLOSE"));
  return true;
}

// The About entry of the window's own menu (the system menu where the window system has one).
void CAzuQuorvaneConfigDlg::AddAboutEntry() {
  AddWindowMenuEntry(kAboutBoxMenuText, [] {
    CAboutDlg dialog;
    dialog.DoModal();
  });
}

const CAzuQuorvaneConfigDlg::PageEntry* CAzuQuorvaneConfigDlg::EntryOf(const CPage* page) const {
  for (const PageEntry& entry : pageEntries_) {
    if (entry.page == page && page != nullptr) return &entry;
  }
  return nullptr;
}

void CAzuQuorvaneConfigDlg::BuildTabs() {
  if (!series_) return;
  std::vector<CPage*> pages;
  switch (series_->GetSeriesNumber()) {
    case 5000:
      pages = {snmp_.get(), admin_.get()};
      break;
    case 4000:
    case 3000:
      pages = {accounting_.get(), ftp_.get(), snmp_.get(), http_.get(), admin_.get()};
      break;
    case 2000:
      pages = {tallyon_.get(), ftp_.get()};
      break;
    case 1000:
      pages = {tallyon_.get(), dualIp_.get(), ftp_.get()};
      break;
    default:
      break;
  }
  for (CPage* page : pages) {
    if (const PageEntry* entry = EntryOf(page)) InsertTab(*entry);
  }
  // The strip may have wrapped into more rows since the first pages were placed.
  const TabControl tabs = Tabs(kTabsId);
  for (int i = 0; i < tabs.GetItemCount(); ++i) {
    static_cast<CPage*>(tabs.GetItemParam(i))->Move(PageArea());
  }
}

// The page rectangle in the strip's client area, below the last row of tabs.
Rect CAzuQuorvaneConfigDlg::PageArea() const {
  const TabControl tabs = Tabs(kTabsId);
  Rect area = tabs.GetClientRect();
  area.Deflate(kPageInsetX, kPageInsetY);
  area.Offset(0, kPageShiftY);
  area.top += tabs.ExtraRowsHeight();
  return area;
}

void CAzuQuorvaneConfigDlg::InsertTab(const PageEntry& entry) {
  TabControl tabs = Tabs(kTabsId);
  const int count = tabs.GetItemCount();
  const int index = tabs.InsertItem(count + 1, GetText(entry.labelKey), entry.page);
  entry.page->Create(tabs.Handle());
  entry.page->Move(PageArea());
  if (index == 0) {
    entry.page->Show(true);
    const char* description = GetText(entry.descriptionKey);
    description_ = description != nullptr ? description : "";
    UpdateData(false);
  }
}

void CAzuQuorvaneConfigDlg::EmptyTabs() {
  TabControl tabs = Tabs(kTabsId);
  for (int i = 0; i < tabs.GetItemCount(); ++i) {
    static_cast<CPage*>(tabs.GetItemParam(i))->DestroyWindow();
  }
  tabs.DeleteAllItems();
}

void CAzuQuorvaneConfigDlg::ReadServerField() {
  serverText_ = ItemText(kServerId);
}

CPage* CAzuQuorvaneConfigDlg::CurrentPage() const {
  const TabControl tabs = Tabs(kTabsId);
  return static_cast<CPage*>(tabs.GetItemParam(tabs.GetCurSel()));
}

void CAzuQuorvaneConfigDlg::OnTabChange() {
  ReadServerField();  // typed text survives the exchange below
  TabControl tabs = Tabs(kTabsId);
  for (int i = 0; i < tabs.GetItemCount(); ++i) {
    static_cast<CPage*>(tabs.GetItemParam(i))->Show(false);
  }
  CPage* page = CurrentPage();
  if (page != nullptr) {
    page->Show(true);
    const PageEntry* entry = EntryOf(page);
    const char* description = entry != nullptr ? GetText(entry->descriptionKey) : nullptr;
    description_ = description != nullptr ? description : "";
  }
  UpdateData(false);
}

void CAzuQuorvaneConfigDlg::OnSeriesChange() {
  // Text typed into the server field survives a change of series, as it does a change of tab.
  ReadServerField();
  series_ = MakeSeriesRecord(Combo(kSeriesListId).GetCurSel());
  EmptyTabs();
  BuildTabs();
}

void CAzuQuorvaneConfigDlg::OnSearch() {
  std::vector<DiscoveredServer> records(kMaxDiscoveredServers);
  int count = 0;
  {
    const WaitCursor wait;
    discovery_(records.data(), kMaxDiscoveredServers, &count);
  }
  search_.servers.clear();
  for (int i = std::min(count, kMaxDiscoveredServers) - 1; i >= 0; --i) {
    const DiscoveredServer& record = records[static_cast<std::size_t>(i)];
    if (!series_ || series_->FindModelCode(record.modelCode.data()) == 0) continue;
    search_.servers.push_back(std::string(record.address.data()) + " " + record.name.data() + "(" +
                              record.modelCode.data() + ")");
  }
  if (search_.DoModal() == IDOK) {
    serverText_ = search_.chosen;
    UpdateData(false);
  }
}

void CAzuQuorvaneConfigDlg::OnOK() {
  UpdateData(true);
  CPage* page = CurrentPage();
  if (page == nullptr) return;
  page->serverName = serverText_;
  if (page == dualIp_.get()) dualIp_->servers = search_.servers;
  page->Configure();
}

void CAzuQuorvaneConfigDlg::OnCancel() {
  TabControl tabs = Tabs(kTabsId);
  for (int i = 0; i < tabs.GetItemCount(); ++i) {
    static_cast<CPage*>(tabs.GetItemParam(i))->DestroyWindow();
  }
  tabs.DeleteAllItems();  // no tab may point at a deleted page
  series_.reset();
  accounting_.reset();
  admin_.reset();
  tallyon_.reset();
  dualIp_.reset();
  ftp_.reset();
  http_.reset();
  snmp_.reset();
  EndDialog(IDCANCEL);
}

}  // namespace azu
