#include "tests/emulator/emulator_test_support.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace azu::emulator::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "azu-emulator-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = fs::canonical(pattern);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

Clock::TimePoint FakeClock::Now() {
  const std::lock_guard lock(mutex_);
  return now_;
}

void FakeClock::SleepUntil(TimePoint until) {
  const std::lock_guard lock(mutex_);
  sleeps_.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(until - now_));
  if (until > now_) now_ = until;
}

void FakeClock::Advance(std::chrono::milliseconds by) {
  const std::lock_guard lock(mutex_);
  now_ += by;
}

std::vector<std::chrono::milliseconds> FakeClock::Sleeps() {
  const std::lock_guard lock(mutex_);
  return sleeps_;
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    files[name] = entry.is_directory() ? "<dir>" : ReadFile(entry.path());
  }
  return files;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& file, const std::string& content) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

Request MakeRequest(std::string method, std::string path,
                    std::vector<std::pair<std::string, std::string>> query,
                    std::optional<std::string> body) {
  Request request;
  request.method = std::move(method);
  request.path = std::move(path);
  request.query = std::move(query);
  request.client = "127.0.0.1";
  if (body) {
    request.read_body = [content = std::move(*body)](const BodySink& sink) {
      // In pieces, as a network delivers it.
      constexpr std::size_t kPiece = 1000;
      for (std::size_t at = 0; at < content.size(); at += kPiece) {
        if (!sink(std::string_view(content).substr(at, kPiece))) return false;
      }
      return true;
    };
  }
  return request;
}

Request WithToken(Request request, const std::string& token) {
  request.authorization = "Bearer " + token;
  return request;
}

Request FileRequest(std::string method, const std::string& server_path, const std::string& token,
                    std::optional<std::string> body) {
  return WithToken(
      MakeRequest(std::move(method), "/v1/file", {{"path", server_path}}, std::move(body)), token);
}

}  // namespace azu::emulator::test
