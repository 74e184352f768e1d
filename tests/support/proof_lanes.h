#pragma once
// The rounding proof's bit test on the lanes of each instruction set, so that one table of
// cases holds every set to the same verdicts: each set's file (proof_lanes_avx2.cpp,
// proof_lanes_avx512.cpp) runs it on its own lanes type.
#include <cstddef>
#include <cstring>

#include "compute/lanes_proof.h"

// A bound of 4 u.
struct FourUnits {
  static constexpr double units = 4;
};

// Each estimate's verdict to proven and its nearest float to rounded, for a count that is a
// multiple of L::count.
template <class L>
void prove_in_lanes(const double* estimates, std::size_t count, bool* proven, double* rounded) {
  for (std::size_t first = 0; first < count; first += L::count) {
    typename L::Doubles estimate, nearest;
    std::memcpy(&estimate, estimates + first, sizeof estimate);
    lanes_proof::store_proven<L>(lanes_proof::rounds_alike<L, FourUnits>(estimate, nearest), proven + first);
    std::memcpy(rounded + first, &nearest, sizeof nearest);
  }
}

void prove_in_lanes_avx2(const double* estimates, std::size_t count, bool* proven, double* rounded);
void prove_in_lanes_avx512(const double* estimates, std::size_t count, bool* proven, double* rounded);
