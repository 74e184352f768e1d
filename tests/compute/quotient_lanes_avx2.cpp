// The lanes' quotient on four AVX2 lanes.
#include "compute/lanes_avx2.h"
#include "support/quotient_lanes.h"

void divide_in_lanes_avx2(const double* dividends, const double* divisors, std::size_t count, double* quotients,
                          bool by_estimate) {
  if (by_estimate)
    divide_in_lanes<DividingByEstimate<LanesAvx2>>(dividends, divisors, count, quotients);
  else
    divide_in_lanes<LanesAvx2>(dividends, divisors, count, quotients);
}
