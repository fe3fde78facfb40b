#include "zornectl/show.h"

#include <nlohmann/json.hpp>

#include "rules/accounting_rules.h"
#include "rules/admin_rules.h"
#include "rules/dual_ip_rules.h"
#include "rules/ftp_rules.h"
#include "rules/http_rules.h"
#include "rules/port_filter_rules.h"
#include "rules/snmp_rules.h"
#include "rules/tallyon_rules.h"
#include "server/configure.h"
#include "server/zorne_constants.h"
#include "zornectl/run.h"
#include "zornectl/server_messages.h"
#include "zornectl/server_run_library.h"

namespace azu::ctl {
namespace {

constexpr const char* kEngineInfo = "/not-scsi0/config_files/engineInfo";
constexpr const char* kScanToFtp = "/not-scsi0/dev0/ScanToFtp_input.txt";
constexpr const char* kEngineHttp = "/not-scsi0/config_files/engineHTTP";
constexpr const char* kFilterAttribute = "portfilters_enabled";

// The attribute, or nullopt when this library cannot read one (the maker's).
std::optional<std::optional<std::string>> FilterAttribute(ServerLibrary& library,
                                                          VIREO_CONNECTION connection,
                                                          VIREO_STATUS& failure) {
  VIREO_ATTR_SESSION attributes{};
  if (const VIREO_STATUS s = library.OpenAttributes(connection, &attributes)) {
    failure = s;
    return std::nullopt;
  }
  std::optional<std::string> value;
  const VIREO_STATUS read = library.GetAttribute(&attributes, kFilterAttribute, &value);
  library.CloseAttributes(&attributes);
  if (read == VIREO_E_UNSUPPORTED) return std::nullopt;
  if (read != VIREO_OK) {
    failure = read;
    return std::nullopt;
  }
  return value;
}

void Read(ServerRunLibrary& library, VIREO_CONNECTION connection, ShowOutcome& outcome) {
  VIREO_FT_SESSION session{};
  if (const VIREO_STATUS s = library.OpenSession(connection, &session)) {
    outcome.status = s;
    return;
  }
  std::optional<std::string> main, info, ftp, http, rules, mac, log, marker;
  VIREO_STATUS fetched = VIREO_OK;
  for (const auto& [path, content] :
       {std::pair{kMainConfig, &main}, std::pair{kEngineInfo, &info}, std::pair{kScanToFtp, &ftp},
        std::pair{kEngineHttp, &http}, std::pair{kPortFilterRulesPath, &rules},
        std::pair{kPrinterMacPath, &mac}, std::pair{kAttachmentLogPath, &log},
        std::pair{kChangedMarkerPath, &marker}}) {
    if (fetched == VIREO_OK) fetched = library.ServerCopy(&session, path, *content);
  }
  library.CloseSession(&session);
  if (fetched != VIREO_OK) {
    outcome.status = fetched;
    return;
  }
  VIREO_STATUS failure = VIREO_OK;
  const auto attribute = FilterAttribute(library, connection, failure);
  if (failure != VIREO_OK) {
    outcome.status = failure;
    return;
  }
  outcome.pages = {{"admin", ReadAdmin(info)},
                   {"accounting", ReadAccounting(main)},
                   {"tallyon", ReadTallyon(main)},
                   {"ftp", ReadFtp(ftp)},
                   {"http", ReadHttp(http)},
                   {"snmp", ReadSnmp(main)},
                   {"dual-ip", ReadDualIp(main, rules, attribute)}};
  outcome.attachment = ReadAttachment(main, mac, log, marker.has_value());
  outcome.done = true;
}

// An empty secret tells nothing away: it is shown as what it is.
std::string Shown(const ReadValue& value, bool reveal) {
  if (!value.value) return "(not set)";
  if (value.secret && !reveal && !value.value->empty()) return "(set)";
  const bool quoted = value.value->empty() || value.value->find(' ') != std::string::npos;
  return quoted ? "\"" + *value.value + "\"" : *value.value;
}

nlohmann::ordered_json JsonValue(const ReadValue& value, bool reveal) {
  if (!value.value) return nullptr;
  if (value.secret && !reveal && !value.value->empty()) return true;
  return *value.value;
}

nlohmann::ordered_json Optional(const std::optional<std::string>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

}  // namespace

ShowOutcome ShowServer(const ShowRequest& request, ServerLibrary& library,
                       const std::string& server) {
  MessageCapture capture;
  const ScopedThreadMessageSink scoped(capture);
  // A dry run: whatever happened, nothing could be stored.
  ServerRunLibrary run(
      library, {true, std::nullopt,
                std::chrono::steady_clock::now() + std::chrono::seconds(request.deadlineSeconds)});
  ShowOutcome outcome;
  outcome.server = server;
  RunConfigure(
      run, server,
      {.checkPage = nullptr,
       .askPassword = [&]() -> std::optional<std::string> { return request.zornePassword; },
       .transaction = [&](VIREO_CONNECTION connection) { Read(run, connection, outcome); }});
  if (outcome.status == VIREO_OK && !outcome.done) outcome.status = run.LastFailure();
  if (run.DeadlinePassed()) outcome.done = false;
  if (!outcome.done) {
    outcome.message = FailureMessage(capture, outcome.status, run.DeadlinePassed(),
                                     request.deadlineSeconds, "cannot be read");
  } else {
    outcome.message = "read";
    outcome.status = VIREO_OK;
  }
  return outcome;
}

std::vector<ShowOutcome> ShowServers(const ShowRequest& request, ServerLibrary& library,
                                     const std::function<void(const ShowOutcome&)>& progress) {
  return ForEachServer<ShowOutcome>(
      request.servers, request.parallel,
      [&](const std::string& server) { return ShowServer(request, library, server); }, progress);
}

std::string ShowBlocks(const std::vector<ShowOutcome>& outcomes, bool reveal) {
  std::string text;
  std::size_t failed = 0;
  for (const ShowOutcome& outcome : outcomes) {
    if (!text.empty()) text += "\n";
    text += outcome.server + ": " + outcome.message +
            (outcome.done ? "" : " (status " + std::to_string(outcome.status) + ")") + "\n";
    if (!outcome.done) {
      ++failed;
      continue;
    }
    for (const PageShown& page : outcome.pages) {
      std::string line = "  " + page.page + std::string(12 - page.page.size(), ' ');
      for (const ReadValue& value : page.reading.values) {
        line += " " + value.option + "=" + Shown(value, reveal);
      }
      text += line + "\n";
      for (const std::string& note : page.reading.notes) text += "    note: " + note + "\n";
    }
    const AttachmentReading& attachment = outcome.attachment;
    text += "  printer      mode=" + attachment.mode.value_or("(not set)") +
            " address=" + attachment.printerAddress.value_or("(not set)") +
            " mac=" + attachment.printerMac.value_or("(not set)") +
            " changed-marker=" + (attachment.changedMarker ? "yes" : "no") + "\n";
    if (attachment.foundAddress || attachment.foundMac) {
      text += "    last finding: " + attachment.foundAddress.value_or("?") + " " +
              attachment.foundMac.value_or("?") + ", " + std::to_string(attachment.records.size()) +
              " record(s)\n";
      for (const std::string& record : attachment.records) text += "      " + record + "\n";
    }
    for (const std::string& note : attachment.notes) text += "    note: " + note + "\n";
  }
  if (outcomes.size() > 1) {
    text += "\n" + std::to_string(outcomes.size() - failed) + " read, " + std::to_string(failed) +
            " failed\n";
  }
  return text;
}

std::string ShowJsonLines(const std::vector<ShowOutcome>& outcomes, bool reveal) {
  std::string lines;
  for (const ShowOutcome& outcome : outcomes) {
    nlohmann::ordered_json object = {{"server", outcome.server},
                                     {"outcome", outcome.done ? "done" : "failed"},
                                     {"changed", false},
                                     {"message", outcome.message},
                                     {"status", outcome.status}};
    if (outcome.done) {
      nlohmann::ordered_json pages = nlohmann::ordered_json::object();
      for (const PageShown& page : outcome.pages) {
        nlohmann::ordered_json values = nlohmann::ordered_json::object();
        for (const ReadValue& value : page.reading.values) {
          values[value.option] = JsonValue(value, reveal);
        }
        pages[page.page] = {{"values", values}, {"notes", page.reading.notes}};
      }
      object["pages"] = pages;
      const AttachmentReading& attachment = outcome.attachment;
      object["attachment"] = {{"mode", Optional(attachment.mode)},
                              {"printer_address", Optional(attachment.printerAddress)},
                              {"printer_mac", Optional(attachment.printerMac)},
                              {"last_finding",
                               {{"printer_address", Optional(attachment.foundAddress)},
                                {"printer_mac", Optional(attachment.foundMac)},
                                {"records", attachment.records}}},
                              {"changed_marker", attachment.changedMarker},
                              {"notes", attachment.notes}};
    }
    lines += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  }
  return lines;
}

}  // namespace azu::ctl
