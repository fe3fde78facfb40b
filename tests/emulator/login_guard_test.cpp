#include "emulator/login_guard.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <thread>

#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAre;
using Outcome = LoginGuard::Outcome;

TEST(LoginGuard, EachFailureOfAnAddressWaitsTwiceAsLongUpToFiveSeconds) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "guess"), Outcome::kRefused);
  EXPECT_THAT(clock.Sleeps(), ElementsAre(milliseconds(250), milliseconds(500), milliseconds(1000),
                                          milliseconds(2000), milliseconds(4000),
                                          milliseconds(5000), milliseconds(5000)));
}

TEST(LoginGuard, ASuccessAnswersAtOnceAndStartsTheDelaysAfresh) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "guess"), Outcome::kRefused);
  EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "guess"), Outcome::kRefused);
  EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "RONDEL"), Outcome::kAccepted);
  EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "guess"), Outcome::kRefused);
  EXPECT_THAT(clock.Sleeps(), ElementsAre(milliseconds(250), milliseconds(500), milliseconds(250)));
}

TEST(LoginGuard, AddressesAreDelayedEachOnItsOwn) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  guard.Attempt("10.0.0.1", "admin", "guess");
  guard.Attempt("10.0.0.1", "admin", "guess");
  guard.Attempt("10.0.0.2", "admin", "guess");
  EXPECT_THAT(clock.Sleeps(), ElementsAre(milliseconds(250), milliseconds(500), milliseconds(250)));
}

TEST(LoginGuard, OnlyTheExactUserAndPasswordAreAccepted) {
  test::FakeClock clock;
  LoginGuard guard("admin", "p\xC3\xA4ss word", clock);
  EXPECT_EQ(guard.Attempt("a", "admin", "p\xC3\xA4ss word"), Outcome::kAccepted);
  for (const char* password : {"p\xC3\xA4ss", "p\xC3\xA4ss word ", "P\xC3\xA4SS WORD", ""}) {
    EXPECT_EQ(guard.Attempt("a", "admin", password), Outcome::kRefused) << password;
  }
  EXPECT_EQ(guard.Attempt("a", "admin ", "p\xC3\xA4ss word"), Outcome::kRefused);
  EXPECT_EQ(guard.Attempt("a", std::string_view("admin\0", 6), "p\xC3\xA4ss word"),
            Outcome::kRefused);
}

TEST(LoginGuard, ACleanAddressMayLogInManyTimesAtOnce) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  std::vector<std::future<Outcome>> logins;
  for (int i = 0; i < 32; ++i) {
    logins.push_back(std::async(std::launch::async,
                                [&] { return guard.Attempt("10.0.0.1", "admin", "RONDEL"); }));
  }
  for (auto& login : logins) EXPECT_EQ(login.get(), Outcome::kAccepted);
}

// A clock whose sleepers wait until the test lets them go.
class GateClock final : public Clock {
 public:
  TimePoint Now() override { return {}; }
  void SleepUntil(TimePoint) override {
    std::unique_lock lock(mutex_);
    ++sleeping_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  void WaitForSleepers(int count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return sleeping_ >= count; });
  }
  void Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int sleeping_ = 0;
  bool open_ = false;
};

TEST(LoginGuard, WaitingAttemptsHoldBackTheirAddressOnly) {
  GateClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  // One failure of 10.0.0.1 sleeps in its delay ...
  auto failing =
      std::async(std::launch::async, [&] { return guard.Attempt("10.0.0.1", "admin", "guess"); });
  clock.WaitForSleepers(1);
  // ... while another address logs in at once.
  EXPECT_EQ(guard.Attempt("10.0.0.2", "admin", "RONDEL"), Outcome::kAccepted);
  // More attempts of the delayed address queue behind it, even a right one, up to a limit;
  // beyond that they are turned away unchecked.
  std::vector<std::future<Outcome>> queued;
  for (std::size_t i = 1; i < LoginGuard::kMostWaiting; ++i) {
    queued.push_back(std::async(std::launch::async,
                                [&] { return guard.Attempt("10.0.0.1", "admin", "RONDEL"); }));
  }
  while (guard.WaitingAttempts("10.0.0.1") < LoginGuard::kMostWaiting) std::this_thread::yield();
  EXPECT_EQ(guard.Attempt("10.0.0.1", "admin", "RONDEL"), Outcome::kBusy);
  for (auto& attempt : queued) {
    EXPECT_EQ(attempt.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  }
  clock.Open();
  EXPECT_EQ(failing.get(), Outcome::kRefused);
  for (auto& attempt : queued) EXPECT_EQ(attempt.get(), Outcome::kAccepted);
}

}  // namespace
}  // namespace azu::emulator
