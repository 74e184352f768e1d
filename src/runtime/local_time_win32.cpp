#include "runtime/local_time.h"

#include <windows.h>

namespace {

constexpr long long seconds_from_1601_to_1970 = 11'644'473'600LL;
constexpr long long file_time_units_per_second = 10'000'000LL;  // of 100 ns

}  // namespace

// In the system's time zone, as its own clock shows the time: the C library's conversion
// follows a TZ variable of the environment instead, where one is set.
std::tm local_time_of(std::time_t moment) {
  ULARGE_INTEGER units{};
  units.QuadPart = static_cast<unsigned long long>((moment + seconds_from_1601_to_1970) * file_time_units_per_second);
  const FILETIME universal_file_time{units.LowPart, units.HighPart};
  SYSTEMTIME universal{}, local{};
  std::tm fields{};
  if (!FileTimeToSystemTime(&universal_file_time, &universal) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return fields;
  fields.tm_year = local.wYear - 1900;
  fields.tm_mon = local.wMonth - 1;
  fields.tm_mday = local.wDay;
  fields.tm_wday = local.wDayOfWeek;
  fields.tm_hour = local.wHour;
  fields.tm_min = local.wMinute;
  fields.tm_sec = local.wSecond;
  fields.tm_isdst = -1;
  return fields;
}
