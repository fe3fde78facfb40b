// zornectl: configures Zorne servers from the command line, one or many at once, with the rules
// of the window's pages. See `zornectl --help` and zornectl(1).

#include <cstdio>
#include <iostream>

#include "app/cp1252.h"
#include "app/text_table.h"
#include "framework/message_box.h"
#include "platform/sockets.h"
#include "platform/system_language.h"
#include "server/transaction.h"
#include "zornectl/discover.h"
#include "zornectl/keys.h"
#include "zornectl/options.h"
#include "zornectl/report.h"
#include "zornectl/run.h"
#include "zornectl/show.h"

int main(int argc, char** argv) {
  using namespace azu;
  using namespace azu::ctl;
  SetApplicationName("zornectl");
  if (!platform::StartSockets()) return kExitSomeFailed;
  if (platform::ReadSystemLanguage(g_systemLanguage, kLanguageBufferSize)) LoadTextTable();

  const Command command = ParseCommandLine(argc, argv);
  if (command.kind == Command::Kind::Finished) return command.exitCode;
  if (command.kind == Command::Kind::Keys) return RunKeys(command.keys, std::cout, std::cerr);
  if (command.kind == Command::Kind::Discover) {
    std::cout << DiscoverServersText(command.json);
    return kExitDone;
  }
  const Request& request = command.request;
  if (command.kind == Command::Kind::Show) {
    const ShowRequest show{request.servers,         request.json,
                           command.reveal,          request.parallel,
                           request.deadlineSeconds, request.zornePassword};
    ProgressLine progress(stderr, show.servers.size());
    const auto outcomes = ShowServers(
        show, VireoLibrary(), [&](const ShowOutcome& outcome) { progress.Count(outcome.done); });
    progress.Finish();
    std::cout << (show.json ? ShowJsonLines(outcomes, show.reveal)
                            : ShowBlocks(outcomes, show.reveal));
    for (const ShowOutcome& outcome : outcomes) {
      if (!outcome.done) return kExitSomeFailed;
    }
    return kExitDone;
  }
  // The page's own checks come before any server is reached, with the page's texts.
  if (const CheckNotice notice = CheckPage(request)) {
    std::cerr << "zornectl: " << Cp1252ToUtf8(GetText(notice)) << "\n";
    return kExitUsage;
  }

  ProgressLine progress(stderr, request.servers.size());
  const auto outcomes = RunServers(
      request, VireoLibrary(), [&](const ServerOutcome& outcome) { progress.Count(outcome.done); });
  progress.Finish();
  if (request.json) {
    std::cout << JsonLines(request.page, outcomes);
  } else {
    if (request.dryRun) {
      for (const ServerOutcome& outcome : outcomes) std::cout << outcome.diff;
    }
    std::cout << SummaryTable(outcomes);
  }
  for (const ServerOutcome& outcome : outcomes) {
    if (!outcome.done) return kExitSomeFailed;
  }
  return kExitDone;
}
