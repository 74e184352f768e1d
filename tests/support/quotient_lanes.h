#pragma once
// The lanes' quotient on the lanes of each instruction set, in the form the set chooses and from
// its reciprocal estimate, so that one table of cases holds every form to the same bound: each
// set's file (quotient_lanes_avx2.cpp, quotient_lanes_avx512.cpp) runs it on its own lanes type.
#include <cstddef>
#include <cstring>

#include "compute/lanes_quotient.h"

// The lanes type L with its quotients from the reciprocal estimate, whichever form L chooses.
template <class L>
struct DividingByEstimate : L {
  static constexpr bool divides_by_estimate = true;
};

// quotients[i] = dividends[i] / divisors[i] by lanes_quotient::quotient<L>, for a count that is a
// multiple of L::count.
template <class L>
void divide_in_lanes(const double* dividends, const double* divisors, std::size_t count, double* quotients) {
  for (std::size_t first = 0; first < count; first += L::count) {
    typename L::Doubles a, b;
    std::memcpy(&a, dividends + first, sizeof a);
    std::memcpy(&b, divisors + first, sizeof b);
    const typename L::Doubles q = lanes_quotient::quotient<L>(a, b);
    std::memcpy(quotients + first, &q, sizeof q);
  }
}

// The same on one set's lanes, from its estimate or in the form it chooses.
void divide_in_lanes_avx2(const double* dividends, const double* divisors, std::size_t count, double* quotients,
                          bool by_estimate);
void divide_in_lanes_avx512(const double* dividends, const double* divisors, std::size_t count, double* quotients,
                            bool by_estimate);
