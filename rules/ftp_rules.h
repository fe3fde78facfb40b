#pragma once
// The Scan-to-FTP page's rules: the scanner's FTP destination replaces its input file, as
// "name:value" lines taken verbatim; the page ends with a notice instead of a reboot offer.

#include <string>

#include "rules/page_plan.h"

namespace azu {

struct FtpFields {
  std::string host;
  std::string userName;
  std::string password;
  std::string destination;
};

CheckNotice CheckFtp(const FtpFields& fields);
PagePlan FtpPlan(const FtpFields& fields);

}  // namespace azu
