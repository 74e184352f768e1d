#pragma once
// The refined roots (compute/lanes_root.h) on the lanes of each instruction set that takes them,
// so that one table of cases holds every set to its bound: each set's file (root_lanes_avx2.cpp,
// root_lanes_avx512.cpp) runs it on its own lanes type.
#include <cstddef>
#include <cstring>

#include "compute/lanes_root.h"

struct RootBounds {
  double square_root_units, scaled_reciprocal_units;
};

// sqrt(x[i]) to root[i] and c / sqrt(x[i]) to reciprocal[i], for a count that is a multiple of
// L::count; the lanes' bounds come back.
template <class L>
RootBounds roots_in_lanes(const double* x, std::size_t count, double c, double* root, double* reciprocal) {
  for (std::size_t first = 0; first < count; first += L::count) {
    typename L::Doubles values;
    std::memcpy(&values, x + first, sizeof values);
    const typename L::Doubles r = lanes_root::square_root<L>(values);
    const typename L::Doubles q = lanes_root::scaled_reciprocal_root<L>(values, L::splat(c));
    std::memcpy(root + first, &r, sizeof r);
    std::memcpy(reciprocal + first, &q, sizeof q);
  }
  return {lanes_root::Refinement<L>::square_root_units, lanes_root::Refinement<L>::scaled_reciprocal_units};
}

RootBounds roots_in_lanes_avx2(const double* x, std::size_t count, double c, double* root, double* reciprocal);
RootBounds roots_in_lanes_avx512(const double* x, std::size_t count, double c, double* root, double* reciprocal);
