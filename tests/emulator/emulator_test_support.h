#pragma once
// Shared pieces of the emulator's tests: a scratch folder, a fake clock, and requests built
// the way the HTTP server builds them.

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "emulator/clock.h"
#include "emulator/service.h"

namespace azu::emulator::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Time that moves only when a test or a sleeper moves it; records every sleep.
class FakeClock final : public Clock {
 public:
  TimePoint Now() override;
  void SleepUntil(TimePoint until) override;
  void Advance(std::chrono::milliseconds by);
  std::vector<std::chrono::milliseconds> Sleeps();

 private:
  std::mutex mutex_;
  TimePoint now_{};
  std::vector<std::chrono::milliseconds> sleeps_;
};

// Every file under `folder` with its content (folders as "<dir>"), for "nothing changed" checks.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder);

std::string ReadFile(const std::filesystem::path& file);
void WriteFile(const std::filesystem::path& file, const std::string& content);

// Builders of service requests from one client.
Request MakeRequest(std::string method, std::string path,
                    std::vector<std::pair<std::string, std::string>> query = {},
                    std::optional<std::string> body = std::nullopt);
Request WithToken(Request request, const std::string& token);
Request FileRequest(std::string method, const std::string& server_path, const std::string& token,
                    std::optional<std::string> body = std::nullopt);

}  // namespace azu::emulator::test
