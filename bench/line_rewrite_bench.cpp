// The configuration line rewrite on a 1,000,000-line CR LF maj_0.cfg (about 33 MB, 4 keys of the
// page among the lines), next to `sed -i` with an equivalent expression on the same file, in the
// same run. The peak memory of the rewrite is reported for this file and for one a tenth its size.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "server/line_rewrite.h"

namespace {

namespace fs = std::filesystem;

const std::vector<azu::KeyRule>& Rules() {
  static const std::vector<azu::KeyRule> rules{{"snmp.version", "1"},
                                               {"snmp.getcommunityname", "public"},
                                               {"snmp.setcommunityname", "private"},
                                               {"snmp.username", std::nullopt}};
  return rules;
}

// The same change for sed: rewrite three keys (any case, key kept), drop the fourth.
constexpr const char* kSedScript =
    "s/^(snmp\\.version)(=[^\\r]*)?(\\r?)$/\\1=1\\3/I;"
    "s/^(snmp\\.getcommunityname)(=[^\\r]*)?(\\r?)$/\\1=public\\3/I;"
    "s/^(snmp\\.setcommunityname)(=[^\\r]*)?(\\r?)$/\\1=private\\3/I;"
    "/^snmp\\.username(=.*)?\\r?$/Id";

fs::path Folder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "azubenchXXXXXX").string();
    return fs::path(mkdtemp(pattern.data()));
  }();
  return folder;
}

// A maj_0.cfg of `lines` lines, 33 bytes each on average, with the page's keys spread over it.
fs::path MakeConfig(int lines) {
  const fs::path path = Folder() / ("maj_0." + std::to_string(lines) + ".cfg");
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  char line[64];
  for (int i = 0; i < lines; ++i) {
    if (i % 250000 == 1000) {
      static const char* const keys[] = {"SNMP.Version=3", "snmp.getcommunityname=x",
                                         "snmp.username=admin", "snmp.setcommunityname=y"};
      out << keys[(i / 250000) % 4] << "\r\n";
      continue;
    }
    std::snprintf(line, sizeof line, "setting.%07d=value-%012d\r\n", i, i * 7);
    out << line;
  }
  return path;
}

void Rewrite(const fs::path& in, const fs::path& out) {
  int error = 0;
  auto reader = azu::TextFileReader::Open(in.string(), &error);
  auto writer = azu::TextFileWriter::Create(out.string(), &error);
  azu::RewriteLines(*reader, *writer, Rules());
  writer->Close(&error);
}

long PeakKib(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

void BM_RewriteLines(benchmark::State& state) {
  const fs::path in = MakeConfig(static_cast<int>(state.range(0)));
  const fs::path out = Folder() / "rewritten.cfg";
  for (auto _ : state) Rewrite(in, out);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(in)));
  state.counters["peak_rss_kib"] = static_cast<double>(PeakKib(RUSAGE_SELF));
}

void BM_SedInPlace(benchmark::State& state) {
  const fs::path in = MakeConfig(static_cast<int>(state.range(0)));
  const fs::path copy = Folder() / "sed.cfg";
  const std::string command = "sed -i -E '" + std::string(kSedScript) + "' " + copy.string();
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(in, copy, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("sed failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(in)));
  state.counters["peak_rss_kib"] = static_cast<double>(PeakKib(RUSAGE_CHILDREN));
}

// Small file first, so its peak memory is read before the large file's run raises it.
BENCHMARK(BM_RewriteLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SedInPlace)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(Folder(), ignored);
  return 0;
}
