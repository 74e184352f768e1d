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

// The proof of three estimates at once, without the normal-range test: first[i], second[i] and
// third[i] together, each verdict to proven[i], their nearest floats to rounded (three a lane,
// in that order), for a count that is a multiple of L::count.
template <class L>
void prove_three_in_lanes(const double* first, const double* second, const double* third, std::size_t count,
                          bool* proven, double* rounded) {
  for (std::size_t at = 0; at < count; at += L::count) {
    typename L::Doubles estimates[3], nearest[3];
    std::memcpy(&estimates[0], first + at, sizeof estimates[0]);
    std::memcpy(&estimates[1], second + at, sizeof estimates[1]);
    std::memcpy(&estimates[2], third + at, sizeof estimates[2]);
    lanes_proof::store_proven<L>(lanes_proof::all_round_alike_in_range<L, FourUnits>(estimates, nearest), proven + at);
    for (int j = 0; j < 3; ++j) {
      double lanes[L::count];
      std::memcpy(lanes, &nearest[j], sizeof lanes);
      for (int lane = 0; lane < L::count; ++lane) rounded[3 * (at + lane) + j] = lanes[lane];
    }
  }
}

void prove_in_lanes_avx2(const double* estimates, std::size_t count, bool* proven, double* rounded);
void prove_in_lanes_avx512(const double* estimates, std::size_t count, bool* proven, double* rounded);
void prove_three_in_lanes_avx2(const double* first, const double* second, const double* third, std::size_t count,
                               bool* proven, double* rounded);
void prove_three_in_lanes_avx512(const double* first, const double* second, const double* third, std::size_t count,
                                 bool* proven, double* rounded);
