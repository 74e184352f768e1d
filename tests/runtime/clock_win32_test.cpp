// The clock on Windows follows the system's time zone, whatever a TZ variable says.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "host/headless_host.h"
#include "runtime/clock.h"
#include "runtime/control.h"

namespace {

// The headless host keeps a clock of its own; this one reads the system's, as the program does.
class SystemClockHost : public HeadlessHost {
 public:
  std::int64_t clock_counter_ms() const override { return Host::clock_counter_ms(); }
  std::int64_t time_of_day_at_next_second_ms() override { return Host::time_of_day_at_next_second_ms(); }
};

class ClockOnWindows : public ::testing::Test {
 protected:
  void SetUp() override { start_runtime(host); }
  void TearDown() override {
    _putenv_s("TZ", "");
    _tzset();
  }

  SystemClockHost host;
};

double system_seconds_since_midnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return (now.wHour * 60 + now.wMinute) * 60 + now.wSecond + now.wMilliseconds / 1000.0;
}

TEST_F(ClockOnWindows, FollowsTheSystemsTimeZoneNotTheTzVariable) {
  // A zone five hours off the system's, as the C library reads TZ: hours west of UTC.
  TIME_ZONE_INFORMATION zone{};
  GetTimeZoneInformation(&zone);
  const int system_hours_west = zone.Bias / 60;
  const int other_hours_west = system_hours_west <= 0 ? system_hours_west + 5 : system_hours_west - 5;
  ASSERT_EQ(_putenv_s("TZ", ("XYZ" + std::to_string(other_hours_west)).c_str()), 0);
  _tzset();

  take_clock_base();
  const double difference = std::fabs(timer_seconds() - system_seconds_since_midnight());
  EXPECT_LT(std::fmin(difference, 86400 - difference), 2) << "the clock is off the system's time of day";
}

}  // namespace
