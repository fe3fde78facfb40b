#pragma once
// The SNMP page (dialog 139): the SNMP version the server speaks and the credentials of that
// version; writing one version removes the other's keys.

#include <string>

#include "pages/page.h"
#include "server/transaction.h"

namespace azu {

class CSNMPDlg : public CPage {
 public:
  static constexpr int kVersionListId = 1041;
  static constexpr int kGetCommunityId = 1042;
  static constexpr int kSetCommunityId = 1043;
  static constexpr int kAuthPasswordId = 1044;
  static constexpr int kPrivPasswordId = 1045;
  static constexpr int kMaxCommunity = 64;
  static constexpr int kMaxPassword = 32;

  explicit CSNMPDlg(PageServices services = ProgramPageServices());

  std::string getCommunity;
  std::string setCommunity;
  std::string authPassword;
  std::string privPassword;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;

 private:
  void ShowVersion(int version);
};

}  // namespace azu
