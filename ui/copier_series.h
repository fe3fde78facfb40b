#pragma once
// Copier series records: which series number a series stands for (it chooses the pages) and
// whether a model code reported by a discovered server belongs to it (it filters the search).

#include <memory>
#include <span>

namespace azu {

class CQVXXXX {
 public:
  virtual ~CQVXXXX() = default;
  // Position of `code` in the series' code list, compared without regard to ASCII case; 0 when
  // it names no model of the series ("Unknown" included). A null code gives 0.
  [[nodiscard]] virtual int FindModelCode(const char* code) const = 0;
  [[nodiscard]] virtual int GetSeriesNumber() const = 0;
};

// One series: its number and its code list (entry 0 is "Unknown").
class CopierSeries : public CQVXXXX {
 public:
  [[nodiscard]] int FindModelCode(const char* code) const final;
  [[nodiscard]] int GetSeriesNumber() const final { return number_; }

 protected:
  CopierSeries(int number, std::span<const char* const> codes) : number_(number), codes_(codes) {}

 private:
  int number_;
  std::span<const char* const> codes_;
};

class CQV50XX final : public CopierSeries {
 public:
  CQV50XX();
};
class CQV40XX final : public CopierSeries {
 public:
  CQV40XX();
};
class CQV30XX final : public CopierSeries {
 public:
  CQV30XX();
};
class CQV20XX final : public CopierSeries {
 public:
  CQV20XX();
};
class CQV10XX final : public CopierSeries {
 public:
  CQV10XX();
};

// The record of series list entry `index` (0 QV5000 ... 4 QV1000); null for any other index.
std::unique_ptr<CQVXXXX> MakeSeriesRecord(int index);

}  // namespace azu
