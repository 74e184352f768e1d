// The refined roots on eight AVX-512 lanes.
#include "compute/lanes_avx512.h"
#include "support/root_lanes.h"

RootBounds roots_in_lanes_avx512(const double* x, std::size_t count, double c, double* root, double* reciprocal) {
  return roots_in_lanes<LanesAvx512>(x, count, c, root, reciprocal);
}
