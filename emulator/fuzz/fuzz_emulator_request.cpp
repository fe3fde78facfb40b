// Arbitrary requests into the emulator's service over a scratch root: it must answer every one,
// and nothing may appear, change or vanish outside the root.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/event_log.h"
#include "emulator/service.h"

namespace {

namespace fs = std::filesystem;
using azu::emulator::BodySink;
using azu::emulator::Clock;
using azu::emulator::Request;
using azu::emulator::Response;
using azu::emulator::Service;

// Login delays would only slow the fuzzer down; time stands still here.
class StillClock final : public Clock {
 public:
  TimePoint Now() override { return {}; }
  void SleepUntil(TimePoint) override {}
};

constexpr std::string_view kCanary = "canary content";

// A new folder of the harness's own in the temporary folder.
fs::path ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "azu-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) abort();
  return pattern;
}

// The root sits four folders deep, beside a canary, so that an escape shows. The events log has
// a scratch folder apart, so that its files are not taken for an escape.
struct Harness {
  Harness() {
    base = ScratchFolder();
    logs = ScratchFolder();
    root = base / "a" / "b" / "c" / "root";
    fs::create_directories(root);
    std::ofstream(base / "a" / "canary", std::ios::binary) << kCanary;
    if (!azu::emulator::PrepareStateFolder(root)) abort();
    log = azu::emulator::EventLog::Open(logs / "events.log", nullptr);
    std::string error;
    service = Service::Create({root, "RONDEL", std::chrono::seconds(600)}, clock, *log, error);
    if (!log || !service) abort();
    Request login;
    login.method = "POST";
    login.path = "/v1/session";
    login.read_body = [](const BodySink& sink) { return sink("user=admin&password=RONDEL"); };
    token = service->Handle(login).body;
  }
  ~Harness() {
    std::error_code ignored;
    fs::remove_all(base, ignored);
    fs::remove_all(logs, ignored);
  }

  void CheckNothingEscaped() const {
    const std::vector<std::pair<fs::path, std::set<std::string>>> expected = {
        {base, {"a"}},
        {base / "a", {"b", "canary"}},
        {base / "a" / "b", {"c"}},
        {base / "a" / "b" / "c", {"root"}}};
    for (const auto& [folder, names] : expected) {
      std::set<std::string> found;
      for (const auto& entry : fs::directory_iterator(folder)) {
        found.insert(entry.path().filename().string());
      }
      if (found != names) __builtin_trap();
    }
    std::ifstream in(base / "a" / "canary", std::ios::binary);
    const std::string canary{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (canary != kCanary) __builtin_trap();
  }

  fs::path base;
  fs::path logs;
  fs::path root;
  StillClock clock;
  std::unique_ptr<azu::emulator::EventLog> log;
  std::unique_ptr<Service> service;
  std::string token;
};

// Takes the text up to the next '\n' off the front of `data`.
std::string_view NextLine(std::string_view& data) {
  const std::size_t end = data.find('\n');
  const std::string_view line = data.substr(0, end);
  data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
  return line;
}

}  // namespace

// Input: lines "method", "path", "query" (pairs split on '&' and the first '=', not decoded
// again), "auth" ("" none, "T" the live session's token, else the header as given), "if-match"
// ("" none), "flags" (first byte: bit 0 cut the body short, bit 1 announce a huge length), then
// the body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  Request request;
  request.client = "127.0.0.1";
  request.method = NextLine(input);
  request.path = NextLine(input);
  std::string_view query = NextLine(input);
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    const std::size_t equals = pair.find('=');
    request.query.emplace_back(pair.substr(0, equals),
                               equals == std::string_view::npos ? "" : pair.substr(equals + 1));
    query.remove_prefix(amp == std::string_view::npos ? query.size() : amp + 1);
  }
  const std::string_view auth = NextLine(input);
  if (auth == "T") {
    request.authorization = "Bearer " + harness.token;
  } else if (!auth.empty()) {
    request.authorization = std::string(auth);
  }
  if (const std::string_view tag = NextLine(input); !tag.empty())
    request.if_match = std::string(tag);
  const std::string_view flags = NextLine(input);
  const unsigned bits = flags.empty() ? 0 : static_cast<unsigned char>(flags[0]);
  if ((bits & 2) != 0) request.content_length = std::uint64_t{1} << 40;
  const std::string body(input);
  const bool cut = (bits & 1) != 0;
  request.read_body = [&body, cut](const BodySink& sink) {
    const std::size_t sent = cut ? body.size() / 2 : body.size();
    for (std::size_t at = 0; at < sent; at += 7) {
      if (!sink(std::string_view(body).substr(at, std::min<std::size_t>(7, sent - at)))) {
        return false;
      }
    }
    return !cut;
  };

  const Response response = harness.service->Handle(request);
  if (response.status < 200 || response.status > 599) __builtin_trap();
  // A reboot or logout ends the fuzzer's session; log in again so files stay reachable.
  if (response.status == 204 &&
      (request.path == "/v1/server/reboot" || request.path == "/v1/server/restart" ||
       request.path == "/v1/session")) {
    Request login;
    login.method = "POST";
    login.path = "/v1/session";
    login.read_body = [](const BodySink& sink) { return sink("user=admin&password=RONDEL"); };
    harness.token = harness.service->Handle(login).body;
  }
  harness.CheckNothingEscaped();
  return 0;
}
