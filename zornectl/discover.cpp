#include "zornectl/discover.h"

#include <array>
#include <nlohmann/json.hpp>
#include <vector>

#include "app/cp1252.h"
#include "ui/copier_series.h"
#include "ui/discover_servers.h"

namespace azu::ctl {
namespace {

// The series list's entries, in the order of MakeSeriesRecord.
constexpr std::array<const char*, 5> kSeriesNames = {"QV5000", "QV4000", "QV3000", "QV2000",
                                                     "QV1000"};

std::string SeriesOf(const char* modelCode) {
  for (std::size_t i = 0; i < kSeriesNames.size(); ++i) {
    const auto series = MakeSeriesRecord(static_cast<int>(i));
    if (series && series->FindModelCode(modelCode) > 0) return kSeriesNames[i];
  }
  return "unknown";
}

}  // namespace

std::string DiscoverServersText(bool json) {
  std::vector<DiscoveredServer> records(kMaxDiscoveredServers);
  int count = 0;
  DiscoverServers(kDiscoveryTimeLimit, records.data(), kMaxDiscoveredServers, &count);
  std::string text;
  for (int i = 0; i < count; ++i) {
    const DiscoveredServer& record = records[static_cast<std::size_t>(i)];
    if (record.address[0] == '\0') continue;
    const std::string name = Cp1252ToUtf8(record.name.data());
    const std::string series = SeriesOf(record.modelCode.data());
    if (json) {
      text += nlohmann::ordered_json{{"address", record.address.data()},
                                     {"name", name},
                                     {"model", record.modelCode.data()},
                                     {"series", series}}
                  .dump() +
              "\n";
    } else {
      text.append(record.address.data()).append("  ").append(name).append("  ");
      text.append(record.modelCode.data()).append("  ").append(series).append("\n");
    }
  }
  return text;
}

}  // namespace azu::ctl
