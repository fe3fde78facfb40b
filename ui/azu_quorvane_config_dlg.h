#pragma once
// The main window (dialog 102): copier series, server name with Search..., the tab strip of the
// series' configuration pages with their description, Configure... and Close.

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "framework/dialog.h"
#include "pages/page.h"
#include "ui/copier_series.h"
#include "ui/discover_servers.h"
#include "ui/zorne_search_dlg.h"

namespace azu {

class CAccountingDlg;
class CAdminDlg;
class CTallyonDlg;
class CDualIPDlg;
class CFTPDlg;
class CHTTPDlg;
class CSNMPDlg;

// Fills up to `capacity` records with the servers found on the network and sets `*count`.
using ServerDiscovery = std::function<void(DiscoveredServer* records, int capacity, int* count)>;

// The program's discovery: the library's, for the program-wide time limit.
ServerDiscovery ProgramServerDiscovery();

class CAzuQuorvaneConfigDlg : public Dialog {
 public:
  static constexpr int kSeriesListId = 1041;
  static constexpr int kServerId = 1018;
  static constexpr int kSearchId = 1019;
  static constexpr int kTabsId = 1000;
  static constexpr int kDescriptionId = 1061;

  explicit CAzuQuorvaneConfigDlg(PageServices services = ProgramPageServices(),
                                 ServerDiscovery discovery = ProgramServerDiscovery());
  ~CAzuQuorvaneConfigDlg() override;
  CAzuQuorvaneConfigDlg(const CAzuQuorvaneConfigDlg&) = delete;
  CAzuQuorvaneConfigDlg& operator=(const CAzuQuorvaneConfigDlg&) = delete;
  CAzuQuorvaneConfigDlg(CAzuQuorvaneConfigDlg&&) = delete;
  CAzuQuorvaneConfigDlg& operator=(CAzuQuorvaneConfigDlg&&) = delete;

  // The discovered-server list of the last search ("address name(model)").
  [[nodiscard]] const std::vector<std::string>& DiscoveredServers() const {
    return search_.servers;
  }
  [[nodiscard]] CPage* CurrentPage() const;
  [[nodiscard]] const CQVXXXX* Series() const { return series_.get(); }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  void OnOK() override;      // Configure... (and Enter): never closes the window
  void OnCancel() override;  // Close, Escape, the close box

 private:
  struct PageEntry {
    CPage* page;
    const char* labelKey;
    const char* descriptionKey;
  };

  void OnSeriesChange();
  void OnTabChange();
  void OnSearch();
  void AddAboutEntry();
  void BuildTabs();
  void InsertTab(const PageEntry& entry);
  void EmptyTabs();
  [[nodiscard]] Rect PageArea() const;
  void ReadServerField();
  [[nodiscard]] const PageEntry* EntryOf(const CPage* page) const;

  std::unique_ptr<CQVXXXX> series_;
  std::unique_ptr<CAccountingDlg> accounting_;
  std::unique_ptr<CAdminDlg> admin_;
  std::unique_ptr<CTallyonDlg> tallyon_;
  std::unique_ptr<CDualIPDlg> dualIp_;
  std::unique_ptr<CFTPDlg> ftp_;
  std::unique_ptr<CHTTPDlg> http_;
  std::unique_ptr<CSNMPDlg> snmp_;
  std::array<PageEntry, 7> pageEntries_;
  CZorneSearchDlg search_;
  std::string serverText_;
  std::string description_;
  ServerDiscovery discovery_;
};

}  // namespace azu
