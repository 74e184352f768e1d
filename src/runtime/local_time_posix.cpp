#include "runtime/local_time.h"

std::tm local_time_of(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  return local;
}
