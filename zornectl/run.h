#pragma once
// Running one zornectl page command over its servers: each server on its own, several at once,
// one failure never stopping the others.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "server/server_library.h"
#include "zornectl/request.h"

namespace azu::ctl {

struct ServerOutcome {
  std::string server;
  bool done = false;               // everything went through
  bool changed = false;            // something was stored, deleted or set (dry run: would be)
  std::string message;             // what the page would have shown last, or what was done
  VIREO_STATUS status = VIREO_OK;  // the library's last failing status
  std::string diff;                // the masked unified diffs of the files changed (or would be)
};

// One server, on the calling thread; its messages are its own.
ServerOutcome RunServer(const Request& request, ServerLibrary& library, const std::string& server);

// Calls `work` for 0 .. count-1, `parallel` at once.
void RunInParallel(std::size_t count, int parallel, const std::function<void(std::size_t)>& work);

// `one` for every server, `parallel` at once, the outcomes in the servers' order; `progress` is
// called after each (from the worker threads, one at a time).
template <typename Outcome>
std::vector<Outcome> ForEachServer(const std::vector<std::string>& servers, int parallel,
                                   const std::function<Outcome(const std::string&)>& one,
                                   const std::function<void(const Outcome&)>& progress) {
  std::vector<Outcome> outcomes(servers.size());
  std::mutex reporting;
  RunInParallel(outcomes.size(), parallel, [&](std::size_t i) {
    outcomes[i] = one(servers[i]);
    const std::lock_guard lock(reporting);
    if (progress) progress(outcomes[i]);
  });
  return outcomes;
}

// Every server of the request, `request.parallel` at once, in the request's order. `progress`
// is called (from the worker threads, one at a time) after each server.
std::vector<ServerOutcome> RunServers(
    const Request& request, ServerLibrary& library,
    const std::function<void(const ServerOutcome& outcome)>& progress);

}  // namespace azu::ctl
