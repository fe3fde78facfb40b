#pragma once
// The Scan-to-FTP page's rules: the scanner's FTP destination replaces its input file, as
// "name:value" lines taken verbatim; the page ends with a notice instead of a reboot offer.

#include <string>

#include "rules/page_plan.h"
#include "rules/page_reading.h"

namespace azu {

struct FtpFields {
  std::string host;
  std::string userName;
  std::string password;
  std::string destination;
};

CheckNotice CheckFtp(const FtpFields& fields);
PagePlan FtpPlan(const FtpFields& fields);
// ScanToFtp_input.txt → host, user, ftp-password (secret), destination.
PageReading ReadFtp(const std::optional<std::string>& file);

}  // namespace azu
