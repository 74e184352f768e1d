// The lanes' quotient on eight AVX-512 lanes.
#include "compute/lanes_avx512.h"
#include "support/quotient_lanes.h"

void divide_in_lanes_avx512(const double* dividends, const double* divisors, std::size_t count, double* quotients,
                            bool by_estimate) {
  if (by_estimate)
    divide_in_lanes<DividingByEstimate<LanesAvx512>>(dividends, divisors, count, quotients);
  else
    divide_in_lanes<LanesAvx512>(dividends, divisors, count, quotients);
}
