#pragma once
// Running one zornectl page command over its servers: each server on its own, several at once,
// one failure never stopping the others.

#include <functional>
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

// Every server of the request, `request.parallel` at once, in the request's order. `progress`
// is called (from the worker threads, one at a time) after each server.
std::vector<ServerOutcome> RunServers(
    const Request& request, ServerLibrary& library,
    const std::function<void(const ServerOutcome& outcome)>& progress);

}  // namespace azu::ctl
