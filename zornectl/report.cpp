#include "zornectl/report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "zornectl/console.h"

namespace azu::ctl {

ProgressLine::ProgressLine(std::FILE* out, std::size_t total)
    : out_(out), shown_(IsTerminal(out)), total_(total) {}

void ProgressLine::Count(bool done) {
  ++done_;
  if (!done) ++failed_;
  if (!shown_) return;
  std::fprintf(out_, "\rzornectl: %zu/%zu done, %zu failed", done_, total_, failed_);
  std::fflush(out_);
}

void ProgressLine::Finish() {
  if (shown_ && done_ > 0) std::fprintf(out_, "\n");
}

std::string SummaryTable(const std::vector<ServerOutcome>& outcomes) {
  std::size_t width = std::string("SERVER").size();
  for (const ServerOutcome& outcome : outcomes) width = std::max(width, outcome.server.size());
  const auto row = [width](const std::string& server, const std::string& result,
                           const std::string& changed, const std::string& status,
                           const std::string& message) {
    std::string line = server + std::string(width - server.size() + 2, ' ');
    line += result + std::string(8 - std::min<std::size_t>(result.size(), 7), ' ');
    line += changed + std::string(9 - std::min<std::size_t>(changed.size(), 8), ' ');
    line += status + std::string(8 - std::min<std::size_t>(status.size(), 7), ' ');
    return line + message + "\n";
  };
  std::string table = row("SERVER", "RESULT", "CHANGED", "STATUS", "MESSAGE");
  std::size_t failed = 0;
  for (const ServerOutcome& outcome : outcomes) {
    failed += outcome.done ? 0 : 1;
    table += row(outcome.server, outcome.done ? "done" : "failed", outcome.changed ? "yes" : "no",
                 std::to_string(outcome.status), outcome.message);
  }
  table +=
      std::to_string(outcomes.size() - failed) + " done, " + std::to_string(failed) + " failed\n";
  return table;
}

std::string JsonLines(const std::string& page, const std::vector<ServerOutcome>& outcomes) {
  std::string lines;
  for (const ServerOutcome& outcome : outcomes) {
    nlohmann::ordered_json object = {{"server", outcome.server},
                                     {"page", page},
                                     {"outcome", outcome.done ? "done" : "failed"},
                                     {"changed", outcome.changed},
                                     {"message", outcome.message},
                                     {"status", outcome.status},
                                     {"diff", outcome.diff}};
    // A server's text is whatever the user typed; never let it break the JSON.
    lines += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  }
  return lines;
}

}  // namespace azu::ctl
