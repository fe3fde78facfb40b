#pragma once
// The Dual IP page (dialog 129): adds the server's second IP address and subnet mask, with the
// port-filter rules that go with it, or deletes them again.

#include <cstdint>
#include <string>
#include <vector>

#include "pages/page.h"

namespace azu {

class CDualIPDlg : public CPage {
 public:
  static constexpr int kAddId = 1022;
  static constexpr int kDeleteId = 1023;
  static constexpr int kAddressId = 1008;
  static constexpr int kMaskId = 1009;
  static constexpr int kAdd = 0;
  static constexpr int kDelete = 1;

  explicit CDualIPDlg(PageServices services = ProgramPageServices());

  // Copy of the main window's discovered-server list, replaced before each Configure.
  std::vector<std::string> servers;
  std::uint32_t address = 0;
  std::uint32_t mask = 0xFFFFFFFF;
  int mode = kAdd;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  void OnModeClicked();
  [[nodiscard]] std::string AddressText() const;
  [[nodiscard]] std::string MaskText() const;
};

}  // namespace azu
