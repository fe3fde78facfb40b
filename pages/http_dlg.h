#pragma once
// The HTTP page (dialog 140): the ports of the server's web service, stored whole as the
// server's engineHTTP file.

#include <cstdint>

#include "pages/page.h"

namespace azu {

class CHTTPDlg : public CPage {
 public:
  static constexpr int kHttpPortId = 1046;
  static constexpr int kHttpsPortId = 1047;

  explicit CHTTPDlg(PageServices services = ProgramPageServices());

  std::uint32_t httpPort = 80;
  std::uint32_t httpsPort = 443;

  void Configure() override;

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
};

}  // namespace azu
