#pragma once
// What zornectl tells: a progress line on a terminal, then the dry run's diffs and a summary
// table, or one JSON object per server for other tools.

#include <cstdio>
#include <string>
#include <vector>

#include "zornectl/run.h"

namespace azu::ctl {

// "done/total, failed" on one line that rewrites itself; only when `out` is a terminal.
class ProgressLine {
 public:
  ProgressLine(std::FILE* out, std::size_t total);
  void Count(bool done);
  void Finish();

 private:
  std::FILE* out_;
  bool shown_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
};

// One line per server: server, result, changed, library status, message.
std::string SummaryTable(const std::vector<ServerOutcome>& outcomes);
// One JSON object per server and line, with the masked diff of what changed (or would).
std::string JsonLines(const std::string& page, const std::vector<ServerOutcome>& outcomes);

}  // namespace azu::ctl
