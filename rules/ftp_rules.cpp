#include "rules/ftp_rules.h"

namespace azu {
namespace {
constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";
}  // namespace

CheckNotice CheckFtp(const FtpFields& fields) {
  if (fields.host.empty()) return "M_SPECIFYSERVER";
  if (fields.userName.empty()) return "M_SPECIFYUSERNAME";
  return nullptr;
}

PagePlan FtpPlan(const FtpFields& fields) {
  PagePlan plan;
  plan.change.kind = PageChange::Kind::Replace;
  plan.change.serverPath = kScanToFtp;
  plan.change.messagePrefix = "M_FTP_";
  plan.change.lines = {"hostname:" + fields.host, "username:" + fields.userName};
  if (!fields.password.empty()) plan.change.lines.push_back("password:" + fields.password);
  if (!fields.destination.empty()) {
    plan.change.lines.push_back("destination:" + fields.destination);
  }
  plan.completedInformation = "M_FTP_CONFIGURED";
  return plan;
}

PageReading ReadFtp(const std::optional<std::string>& file) {
  struct Field {
    std::string_view prefix;
    const char* option;
    bool secret;
    std::optional<std::string> value;
  };
  Field fields[] = {{"hostname:", "host", false, {}},
                    {"username:", "user", false, {}},
                    {"password:", "ftp-password", true, {}},
                    {"destination:", "destination", false, {}}};
  PageReading reading;
  if (file) {
    const std::vector<std::string_view> lines = FileLines(*file);
    std::size_t next = 0;  // the page writes the fields in this order
    for (std::size_t at = 0; at < lines.size(); ++at) {
      Field* field = nullptr;
      for (std::size_t f = next; f < std::size(fields) && field == nullptr; ++f) {
        if (lines[at].starts_with(fields[f].prefix)) {
          field = &fields[f];
          next = f + 1;
        }
      }
      // A foreign line may hold a password: only its number is told.
      if (field == nullptr) {
        reading.notes.push_back("line " + std::to_string(at + 1) +
                                " is not one the page writes (or not in its place)");
        continue;
      }
      field->value = std::string(lines[at].substr(field->prefix.size()));
    }
    if (!fields[0].value || !fields[1].value) {
      reading.notes.push_back("the page always writes hostname: and username:");
    }
  }
  for (Field& field : fields) reading.values.push_back({field.option, field.value, field.secret});
  return reading;
}

}  // namespace azu
