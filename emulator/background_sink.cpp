#include "emulator/background_sink.h"

#include <thread>
#include <utility>
#include <vector>

namespace azu::emulator {
namespace {

// Two threads for the disk work of every store: as many as this server's cores are likely to
// spare, however many stores arrive at once.
class DiskThreads {
 public:
  static DiskThreads& Shared() {
    static DiskThreads threads;
    return threads;
  }
  void Post(std::function<void()> job) {
    {
      const std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    changed_.notify_one();
  }

 private:
  static constexpr int kThreads = 2;
  DiskThreads() {
    for (int i = 0; i < kThreads; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~DiskThreads() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  void Work() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      job();
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

BackgroundSink::BackgroundSink(std::function<bool(std::string_view)> consume)
    : consume_(std::move(consume)) {}

BackgroundSink::~BackgroundSink() {
  std::unique_lock lock(mutex_);
  waiting_.clear();
  WaitIdle(lock);
}

bool BackgroundSink::Add(std::string_view piece) {
  while (!piece.empty()) {
    if (current_.capacity() < kChunk) current_.reserve(kChunk);
    const std::size_t taken = std::min(piece.size(), kChunk - current_.size());
    current_.append(piece.substr(0, taken));
    piece.remove_prefix(taken);
    if (current_.size() == kChunk) Hand(std::exchange(current_, {}));
  }
  const std::lock_guard lock(mutex_);
  return !failed_;
}

void BackgroundSink::Hand(std::string chunk) {
  std::unique_lock lock(mutex_);
  // The disk sets the pace: a client faster than it waits here, not in memory.
  changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting; });
  waiting_.push_back(std::move(chunk));
  if (draining_) return;
  draining_ = true;
  DiskThreads::Shared().Post([this] { Drain(); });
}

void BackgroundSink::Drain() {
  std::unique_lock lock(mutex_);
  while (!waiting_.empty()) {
    std::string chunk = std::move(waiting_.front());
    waiting_.pop_front();
    const bool skip = failed_;
    lock.unlock();
    const bool consumed = skip || consume_(chunk);
    lock.lock();
    failed_ = failed_ || !consumed;
    changed_.notify_all();
  }
  draining_ = false;
  changed_.notify_all();
}

void BackgroundSink::WaitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return !draining_; });
}

bool BackgroundSink::Finish() {
  {
    std::unique_lock lock(mutex_);
    WaitIdle(lock);
    if (failed_) return false;
  }
  // A small store never leaves this thread.
  const bool consumed = current_.empty() || consume_(current_);
  current_.clear();
  const std::lock_guard lock(mutex_);
  failed_ = failed_ || !consumed;
  return !failed_;
}

}  // namespace azu::emulator
