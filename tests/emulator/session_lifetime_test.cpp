// Sessions end at the end of their lifetime however busy they are, and after idle time.

#include <gtest/gtest.h>

#include "emulator/sessions.h"
#include "tests/emulator/emulator_test_support.h"

namespace azu::emulator {
namespace {

using std::chrono::seconds;

TEST(SessionLifetime, ABusySessionEndsAtItsLifetimeAnIdleOneBefore) {
  test::FakeClock clock;
  SessionTable sessions(clock, seconds(30), 8, seconds(100));
  const auto busy = sessions.Open();
  std::optional<SessionTable::Opened> late;
  std::optional<SessionTable::Opened> idle;
  ASSERT_TRUE(busy);
  // Used every 20 s, so never idle.
  for (int at = 20; at <= 80; at += 20) {
    clock.Advance(seconds(20));
    EXPECT_EQ(sessions.Use(busy->token).state, SessionTable::State::kValid) << at;
    if (late) {
      EXPECT_EQ(sessions.Use(late->token).state, SessionTable::State::kValid) << at;
    }
    if (at == 40) {
      late = sessions.Open();
      idle = sessions.Open();
      ASSERT_TRUE(late && idle);
    }
  }
  clock.Advance(seconds(20));  // 100 s after the first login
  EXPECT_EQ(sessions.Use(busy->token).state, SessionTable::State::kExpired);
  EXPECT_EQ(sessions.Use(busy->token).state, SessionTable::State::kUnknown);
  EXPECT_EQ(sessions.Use(late->token).state, SessionTable::State::kValid);

  // The sweep takes the idle one now and the late one at its own lifetime, though just used.
  EXPECT_EQ(sessions.ExpireIdle(), std::vector<std::uint64_t>{idle->number});
  clock.Advance(seconds(20));
  EXPECT_EQ(sessions.Use(late->token).state, SessionTable::State::kValid);
  clock.Advance(seconds(20));
  EXPECT_EQ(sessions.ExpireIdle(), std::vector<std::uint64_t>{late->number});
}

}  // namespace
}  // namespace azu::emulator
