// The extended operations that give the same bits on every system by their own means, against
// glibc's functions that they stand in for on Linux.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "runtime/numbers.h"

namespace {

bool same_bits(extended a, extended b) { return std::memcmp(&a, &b, 10) == 0; }

// Random bit patterns as floats (not-a-number and infinities among them), then extended values
// with bits below a float's.
TEST(NumbersAgainstGlibc, ArcTangentAndSquareGiveTheLibrarysBits) {
  std::mt19937_64 random(23);
  int atan_differs = 0, square_differs = 0;
  for (int i = 0; i < 1'000'000; ++i) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    atan_differs += !same_bits(atn_single(x), atanl(static_cast<extended>(x)));
    const extended a = static_cast<extended>(x) * (1 + static_cast<extended>(random() >> 11) * 0x1p-53L);
    square_differs += !same_bits(power(a, 2), powl(a, 2));
  }
  for (const float x : {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), -0.0f})
    EXPECT_TRUE(same_bits(atn_single(x), atanl(static_cast<extended>(x)))) << x;
  EXPECT_EQ(atan_differs, 0);
  EXPECT_EQ(square_differs, 0);
}

}  // namespace
