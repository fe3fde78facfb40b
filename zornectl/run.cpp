#include "zornectl/run.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "app/cp1252.h"
#include "framework/message_box.h"
#include "rules/page_plan.h"
#include "server/configure.h"
#include "zornectl/server_messages.h"
#include "zornectl/server_run_library.h"
#include "zornectl/unified_diff.h"

namespace azu::ctl {
namespace {

// A server's text as a folder name: no separator can lead out of the backup folder.
std::string FolderName(std::string server) {
  std::replace(server.begin(), server.end(), '/', '_');
  if (server == "." || server == "..") server = "_" + server;
  return server;
}

std::optional<std::string> BackupFolder(const Request& request, const std::string& server) {
  if (!request.backupDir || request.dryRun) return std::nullopt;
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(*request.backupDir) / FolderName(server);
  std::error_code ignored;
  fs::create_directories(folder, ignored);
  // Configuration files hold passwords.
  fs::permissions(folder, fs::perms::owner_all, ignored);
  return folder.string();
}

std::string DoneMessage(const Request& request, const ServerRunLibrary& library, bool rebooted) {
  if (request.dryRun) {
    std::size_t files = 0;
    for (const FileChange& change : library.Changes()) files += change.before != change.after;
    if (files == 0 && library.Attributes().empty()) return "no change";
    std::string text = "would change " + std::to_string(files) + " file(s)";
    for (const std::string& attribute : library.Attributes()) text += ", set " + attribute;
    return text;
  }
  if (!library.Stored()) return "unchanged: the server already holds it";
  return rebooted ? "stored, rebooting" : "stored";
}

}  // namespace

ServerOutcome RunServer(const Request& request, ServerLibrary& library, const std::string& server) {
  MessageCapture capture;
  const ScopedThreadMessageSink scoped(capture);
  ServerRunLibrary run(
      library, {request.dryRun, BackupFolder(request, server),
                std::chrono::steady_clock::now() + std::chrono::seconds(request.deadlineSeconds)});
  ServerOutcome outcome;
  outcome.server = server;
  bool rebooted = false;
  RunConfigure(
      run, server,
      {.checkPage =
           [&] {
             const CheckNotice notice = CheckForServer(request, server);
             if (notice != nullptr) ShowTextMessage(notice, kNoticeBox);
             return notice == nullptr;
           },
       .askPassword = [&]() -> std::optional<std::string> { return request.zornePassword; },
       .transaction =
           [&](VIREO_CONNECTION connection) {
             const auto plan = MakePlan(request, run);
             outcome.done = !plan || RunPagePlan(run, connection, *plan, RebootOffer::Never);
             if (!outcome.done || !request.reboot || request.dryRun || !run.Stored()) return;
             if (const VIREO_STATUS s = run.Reboot(connection)) {
               ShowTextMessage("M_REBOOTFAILED", s, kNoticeBox);
               outcome.done = false;
             } else {
               rebooted = true;
             }
           }});
  outcome.status = run.LastFailure();
  for (const FileChange& change : run.Changes()) {
    outcome.diff += UnifiedDiff(server + ":" + change.serverPath, change.before, change.after,
                                request.page == "admin");
  }
  outcome.changed =
      request.dryRun ? !run.Changes().empty() || !run.Attributes().empty() : run.Stored();
  if (run.DeadlinePassed()) outcome.done = false;
  if (!outcome.done) {
    outcome.message = FailureMessage(capture, outcome.status, run.DeadlinePassed(),
                                     request.deadlineSeconds, "failed");
  } else {
    // A page that ends with a notice of its own (FTP) says it after what was done.
    outcome.message = DoneMessage(request, run, rebooted);
    if (!capture.texts.empty() && !request.dryRun && run.Stored()) {
      outcome.message += ": " + capture.texts.back();
    }
  }
  return outcome;
}

void RunInParallel(std::size_t count, int parallel, const std::function<void(std::size_t)>& work) {
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) work(i);
  };
  const std::size_t workers = std::min(count, static_cast<std::size_t>(std::max(parallel, 1)));
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(worker);
  for (std::thread& thread : threads) thread.join();
}

std::vector<ServerOutcome> RunServers(
    const Request& request, ServerLibrary& library,
    const std::function<void(const ServerOutcome& outcome)>& progress) {
  return ForEachServer<ServerOutcome>(
      request.servers, request.parallel,
      [&](const std::string& server) { return RunServer(request, library, server); }, progress);
}

}  // namespace azu::ctl
