#include "runtime/local_time.h"

std::tm local_time_of(std::time_t moment) {
  std::tm local{};
  localtime_s(&local, &moment);
  return local;
}
