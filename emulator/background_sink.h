#pragma once
// Hands a store's content to a disk thread in chunks, in order, so that hashing and writing run
// beside the thread that serves the connections, which then only copies what arrives.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace azu::emulator {

class BackgroundSink {
 public:
  static constexpr std::size_t kChunk = std::size_t{256} * 1024;
  // Chunks waiting at most; beyond, Add() waits for the disk.
  static constexpr std::size_t kMostWaiting = 4;

  // `consume` takes the content chunk by chunk, in order, on a disk thread (or, for the last
  // chunk, on the caller's); false when it failed.
  explicit BackgroundSink(std::function<bool(std::string_view)> consume);
  // Waits for the chunk in progress.
  ~BackgroundSink();
  BackgroundSink(const BackgroundSink&) = delete;
  BackgroundSink& operator=(const BackgroundSink&) = delete;

  // False once `consume` failed.
  [[nodiscard]] bool Add(std::string_view piece);
  // Consumes the rest and waits for all of it; false when `consume` failed.
  [[nodiscard]] bool Finish();

 private:
  void Hand(std::string chunk);
  void Drain();
  void WaitIdle(std::unique_lock<std::mutex>& lock);

  const std::function<bool(std::string_view)> consume_;
  std::string current_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> waiting_;
  bool draining_ = false;
  bool failed_ = false;
};

}  // namespace azu::emulator
