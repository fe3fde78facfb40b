#include "ui/copier_series.h"

#include <array>

#include "platform/ascii_case.h"

namespace azu {
namespace {

constexpr std::array<const char*, 5> kQV50Codes{"Unknown", "QV5010", "QV5020", "QV5030", "QV5040"};
constexpr std::array<const char*, 4> kQV40Codes{"Unknown", "QV4010", "QV4020", "QV4030"};
constexpr std::array<const char*, 6> kQV30Codes{"Unknown", "QV3010", "QV3020",
                                                "QV3030",  "QV3040", "QV3050"};
constexpr std::array<const char*, 4> kQV20Codes{"Unknown", "QV2010", "QV2020", "QV2030"};
constexpr std::array<const char*, 5> kQV10Codes{"Unknown", "QV1010", "QV1020", "QV1030", "QV1040"};

}  // namespace

int CopierSeries::FindModelCode(const char* code) const {
  if (code == nullptr) return 0;
  for (std::size_t i = 0; i < codes_.size(); ++i) {
    if (platform::EqualsIgnoringAsciiCase(code, codes_[i])) {
      return static_cast<int>(i);  // "Unknown" gives 0 too
    }
  }
  return 0;
}

CQV50XX::CQV50XX() : CopierSeries(5000, kQV50Codes) {}
CQV40XX::CQV40XX() : CopierSeries(4000, kQV40Codes) {}
CQV30XX::CQV30XX() : CopierSeries(3000, kQV30Codes) {}
CQV20XX::CQV20XX() : CopierSeries(2000, kQV20Codes) {}
CQV10XX::CQV10XX() : CopierSeries(1000, kQV10Codes) {}

std::unique_ptr<CQVXXXX> MakeSeriesRecord(int index) {
  switch (index) {
    case 0:
      return std::make_unique<CQV50XX>();
    case 1:
      return std::make_unique<CQV40XX>();
    case 2:
      return std::make_unique<CQV30XX>();
    case 3:
      return std::make_unique<CQV20XX>();
    case 4:
      return std::make_unique<CQV10XX>();
    default:
      return nullptr;
  }
}

}  // namespace azu
