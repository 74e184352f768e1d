// The rounding proof on eight AVX-512 lanes.
#include "compute/lanes_avx512.h"
#include "support/proof_lanes.h"

void prove_in_lanes_avx512(const double* estimates, std::size_t count, bool* proven, double* rounded) {
  prove_in_lanes<LanesAvx512>(estimates, count, proven, rounded);
}

void prove_three_in_lanes_avx512(const double* first, const double* second, const double* third, std::size_t count,
                                 bool* proven, double* rounded) {
  prove_three_in_lanes<LanesAvx512>(first, second, third, count, proven, rounded);
}
