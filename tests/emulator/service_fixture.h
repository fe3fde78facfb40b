#pragma once
// A Service over a scratch root with a fake clock, as the service-level tests use it.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/event_log.h"
#include "emulator/service.h"
#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator::test {

class ServiceTest : public ::testing::Test {
 protected:
  static constexpr const char* kPassword = "RONDEL";

  ServiceTest() { Restart(); }

  // A new Service on the same root, as after the emulator was started again.
  void Restart(std::chrono::seconds idle = std::chrono::seconds(600)) {
    service_.reset();
    log_.reset();
    std::filesystem::create_directories(root_);
    const auto state = PrepareStateFolder(root_);
    ASSERT_TRUE(state);
    log_ = EventLog::Open(*state / "events.log", nullptr);
    ASSERT_TRUE(log_);
    std::string error;
    service_ = Service::Create({root_, kPassword, idle}, clock_, *log_, error);
    ASSERT_TRUE(service_) << error;
  }

  Response Handle(const Request& request) { return service_->Handle(request); }

  std::string Login() {
    const Response response = Handle(
        MakeRequest("POST", "/v1/session", {}, std::string("user=admin&password=") + kPassword));
    EXPECT_EQ(response.status, 200);
    return response.body;
  }

  // Everything under the root but the emulator's own state, with contents.
  std::map<std::string, std::string> ServedFiles() const {
    std::map<std::string, std::string> files = Snapshot(root_);
    std::erase_if(files, [](const auto& entry) { return entry.first.starts_with(".zorne"); });
    return files;
  }

  std::string LogText() const { return ReadFile(root_ / ".zorne" / "events.log"); }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream text(LogText());
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  // The event names of the log, in order.
  std::vector<std::string> Events() const {
    std::vector<std::string> events;
    for (const std::string& line : LogLines()) {
      std::istringstream fields(line);
      std::string time;
      std::string event;
      fields >> time >> event;
      events.push_back(event);
    }
    return events;
  }

  std::string LastLogLine() const {
    const std::vector<std::string> lines = LogLines();
    return lines.empty() ? std::string() : lines.back();
  }

  ScratchFolder scratch_;
  const std::filesystem::path root_ = scratch_.Path() / "root";
  const std::filesystem::path outside_ = scratch_.Path() / "outside";
  FakeClock clock_;
  std::unique_ptr<EventLog> log_;
  std::unique_ptr<Service> service_;
};

}  // namespace azu::emulator::test
