#include "emulator/login_guard.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator {
namespace {

using std::chrono::milliseconds;
using Outcome = LoginGuard::Outcome;

struct Attempted {
  Outcome outcome;
  milliseconds wait;  // from the attempt to its answer
};

Attempted Try(LoginGuard& guard, test::FakeClock& clock, const std::string& client,
              std::string_view password) {
  const Clock::TimePoint now = clock.Now();
  const LoginGuard::Verdict verdict = guard.Attempt(client, "admin", password);
  return {verdict.outcome, std::chrono::duration_cast<milliseconds>(verdict.answer_at - now)};
}

TEST(LoginGuard, FailuresOfAnAddressAreAnsweredOneAfterAnotherEachTwiceAsLate) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  // Answered in turn: each failure waits for the ones before it, then for its own delay.
  const std::vector<int> due = {250, 750, 1750, 3750};
  for (const int wait : due) {
    const Attempted attempt = Try(guard, clock, "10.0.0.1", "guess");
    EXPECT_EQ(attempt.outcome, Outcome::kRefused);
    EXPECT_EQ(attempt.wait, milliseconds(wait));
  }
  // Four answers are due: even the right password is turned away unchecked, at once.
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "RONDEL").outcome, Outcome::kBusy);
  // Other addresses are not held back.
  const Attempted other = Try(guard, clock, "10.0.0.2", "RONDEL");
  EXPECT_EQ(other.outcome, Outcome::kAccepted);
  EXPECT_EQ(other.wait, milliseconds(0));
  // Once the answers went out, delays go on doubling up to 5 s.
  clock.Advance(milliseconds(3750));
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "guess").wait, milliseconds(4000));
  clock.Advance(milliseconds(4000));
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "guess").wait, milliseconds(5000));
  clock.Advance(milliseconds(5000));
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "guess").wait, milliseconds(5000));
  clock.Advance(milliseconds(5000));
  // A success answers at once and starts the delays afresh.
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "RONDEL").wait, milliseconds(0));
  EXPECT_EQ(Try(guard, clock, "10.0.0.1", "guess").wait, milliseconds(250));
}

TEST(LoginGuard, OnlyTheExactUserAndPasswordAreAccepted) {
  test::FakeClock clock;
  LoginGuard guard("admin", "p\xC3\xA4ss word", clock);
  EXPECT_EQ(guard.Attempt("a", "admin", "p\xC3\xA4ss word").outcome, Outcome::kAccepted);
  // Each from an address of its own: a fifth failure in a row would be turned away unchecked.
  for (const std::string_view password :
       {"p\xC3\xA4ss wor", "p\xC3\xA4ss word ", "P\xC3\xA4ss word", "pass word", ""}) {
    EXPECT_EQ(guard.Attempt(std::string(password), "admin", password).outcome, Outcome::kRefused)
        << password;
  }
  EXPECT_EQ(guard.Attempt("c", "admin ", "p\xC3\xA4ss word").outcome, Outcome::kRefused);
  EXPECT_EQ(guard.Attempt("d", std::string_view("admin\0", 6), "p\xC3\xA4ss word").outcome,
            Outcome::kRefused);
}

TEST(LoginGuard, ACleanAddressMayLogInManyTimesAtOnce) {
  test::FakeClock clock;
  LoginGuard guard("admin", "RONDEL", clock);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(Try(guard, clock, "10.0.0.1", "RONDEL").outcome, Outcome::kAccepted);
  }
}

}  // namespace
}  // namespace azu::emulator
