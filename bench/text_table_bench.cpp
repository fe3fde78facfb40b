// Start-up cost of the text table and the cost of one lookup.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/text_table.h"
#include "platform/resource.h"

namespace {

void UseLanguage(const char* language) {
  std::strncpy(azu::g_systemLanguage, language, azu::kLanguageBufferSize - 1);
}

// The keys of the embedded table, each with `suffix` appended.
std::vector<std::string> Keys(const char* suffix) {
  const std::span<const char> blob =
      azu::platform::FindRawResource(azu::platform::kTextTableResourceId);
  std::vector<std::string> keys;
  std::vector<std::string_view> fields;
  const char* row = blob.data();
  const char* const end = row + blob.size();
  azu::SplitTextRow(row, end, fields, &row);  // header
  while (row < end) {
    if (azu::SplitTextRow(row, end, fields, &row) >= 1) keys.emplace_back(fields[0]) += suffix;
  }
  return keys;
}

void BM_LoadTextTable(benchmark::State& state, const char* language) {
  UseLanguage(language);
  for (auto _ : state) {
    azu::LoadTextTable();
    benchmark::DoNotOptimize(azu::ProcessTextTable().Size());
  }
}
BENCHMARK_CAPTURE(BM_LoadTextTable, fr, "fr")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadTextTable, nl, "nl")->Unit(benchmark::kMicrosecond);

void BM_GetText(benchmark::State& state, const char* suffix) {
  UseLanguage("fr");
  azu::LoadTextTable();
  const std::vector<std::string> keys = Keys(suffix);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(azu::GetText(keys[i].c_str()));
    i = (i + 1 == keys.size()) ? 0 : i + 1;
  }
}
BENCHMARK_CAPTURE(BM_GetText, hit, "");
BENCHMARK_CAPTURE(BM_GetText, miss, "_X");

}  // namespace

BENCHMARK_MAIN();
