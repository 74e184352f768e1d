#include "runtime/clock.h"

#include <gtest/gtest.h>

#include "support/fresh_program.h"

namespace {

using Clock = FreshProgram;

float ticks(int count) { return static_cast<float>(count / 18.2); }

TEST_F(Clock, AdvancesInStepsOfOneEighteenPointTwoSecond) {
  const struct {
    std::int64_t time_of_day_ms, elapsed_ms;
    float seconds;
  } cases[] = {
      {0, 500, ticks(9)},                // 9.1 ticks: about 0.4945055
      {0, 27, 0},                        // 0.49 ticks
      {0, 28, ticks(1)},                 // 0.51 ticks
      {0, 1000, ticks(18)},              // a second is 18.2 ticks, shown as 18
      {45'296'000, 0, ticks(824'387)},   // 12:34:56: 824,387.2 ticks
      {86'399'900, 200, ticks(2)},       // past midnight it starts again from 0
  };
  for (const auto& c : cases) {
    host.start_clock_at(c.time_of_day_ms);
    host.clock_ms += c.elapsed_ms;
    EXPECT_EQ(timer_seconds(), c.seconds) << c.time_of_day_ms << " + " << c.elapsed_ms << " ms";
  }
  EXPECT_NEAR(ticks(9), 0.4945055f, 1e-7);
}

TEST_F(Clock, DivisorSetsTheStepAndMustBePositive) {
  host.start_clock_at(1300);
  EXPECT_EQ(timer_seconds(0.5, true), 1.5);
  EXPECT_EQ(timer_seconds(0.25, true), 1.25);
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(timer_seconds(0, true), 0);
  EXPECT_EQ(take_failure(), 5);
}

TEST_F(Clock, ReadsZeroWhileAFailureIsPending) {
  host.start_clock_at(3'600'000);
  raise_error(62);
  EXPECT_EQ(timer_seconds(), 0);
  take_failure();
  EXPECT_EQ(timer_seconds(), ticks(65'520));
}

}  // namespace
