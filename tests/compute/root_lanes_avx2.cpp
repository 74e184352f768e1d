// The refined roots on four AVX2 lanes.
#include "compute/lanes_avx2.h"
#include "support/root_lanes.h"

RootBounds roots_in_lanes_avx2(const double* x, std::size_t count, double c, double* root, double* reciprocal) {
  return roots_in_lanes<LanesAvx2>(x, count, c, root, reciprocal);
}
