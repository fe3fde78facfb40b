#include "rules/http_rules.h"

#include <string>

namespace azu {
namespace {
constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
}  // namespace

CheckNotice CheckHttp(const HttpFields& fields) {
  return fields.httpPort == fields.httpsPort ? "M_HTTP_SAMEPORT" : nullptr;
}

PagePlan HttpPlan(const HttpFields& fields) {
  PagePlan plan;
  plan.change.kind = PageChange::Kind::Replace;
  plan.change.serverPath = kEngineHttp;
  plan.change.messagePrefix = "M_HTTP_";
  plan.change.lines = {"HTTP=" + std::to_string(fields.httpPort),
                       "HTTPS=" + std::to_string(fields.httpsPort)};
  return plan;
}

PageReading ReadHttp(const std::optional<std::string>& file) {
  PageReading reading;
  std::optional<std::string> ports[2];
  if (file) {
    const std::vector<std::string_view> lines = FileLines(*file);
    constexpr std::string_view kPrefixes[2] = {"HTTP=", "HTTPS="};
    for (std::size_t at = 0; at < lines.size(); ++at) {
      const bool known = at < 2 && lines[at].starts_with(kPrefixes[at]);
      if (!known) {
        reading.notes.push_back("line " + std::to_string(at + 1) +
                                " is not one the page writes: " + std::string(lines[at]));
        continue;
      }
      const std::string_view port = lines[at].substr(kPrefixes[at].size());
      ports[at] = std::string(port);
      const bool number = !port.empty() && port.size() <= 5 &&
                          port.find_first_not_of("0123456789") == std::string_view::npos &&
                          std::stoul(std::string(port)) <= kMaxPort &&
                          (port.size() == 1 || port.front() != '0');
      if (!number) reading.notes.push_back(std::string(lines[at]) + " is no port the page writes");
    }
    if (lines.size() < 2) reading.notes.push_back("the page writes both ports");
  }
  reading.values = {{"http-port", ports[0]}, {"https-port", ports[1]}};
  return reading;
}

}  // namespace azu
