#pragma once
// zornectl show: what each server holds, read back into the page options' own values, and how its
// printer is attached. Read-only: one connection and one session per server, gets only.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rules/page_reading.h"
#include "server/server_library.h"
#include "zornectl/attachment_reading.h"

namespace azu::ctl {

struct ShowRequest {
  std::vector<std::string> servers;
  bool json = false;
  bool reveal = false;  // print secrets instead of set / not set
  int parallel = 8;
  int deadlineSeconds = 120;
  std::string zornePassword;
};

struct PageShown {
  std::string page;  // the page command's name
  PageReading reading;
};

struct ShowOutcome {
  std::string server;
  bool done = false;
  VIREO_STATUS status = VIREO_OK;
  std::string message;
  std::vector<PageShown> pages;  // in the page commands' order; empty when not read
  AttachmentReading attachment;
};

// One server, on the calling thread.
ShowOutcome ShowServer(const ShowRequest& request, ServerLibrary& library,
                       const std::string& server);

// Every server, `request.parallel` at once, in the request's order; `progress` after each.
std::vector<ShowOutcome> ShowServers(const ShowRequest& request, ServerLibrary& library,
                                     const std::function<void(const ShowOutcome&)>& progress);

// For people: one block per server, the pages' values as option=value.
std::string ShowBlocks(const std::vector<ShowOutcome>& outcomes, bool reveal);
// One JSON object per server and line; a masked secret is true when set (and not empty), null
// when not.
std::string ShowJsonLines(const std::vector<ShowOutcome>& outcomes, bool reveal);

}  // namespace azu::ctl
