#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/numbers.h"
#include "runtime/random.h"
#include "runtime/tables.h"
#include "runtime/text.h"
#include "support/fresh_program.h"

namespace {

using Numbers = FreshProgram;

TEST_F(Numbers, RoundsHalfToEven) {
  EXPECT_EQ(round_to_int64(2.5L), 2);
  EXPECT_EQ(round_to_int64(3.5L), 4);
  EXPECT_EQ(round_to_int64(-2.5L), -2);
  EXPECT_EQ(round_to_int64(-0.4L), 0);
  EXPECT_EQ(round_to_int64(std::numeric_limits<float>::quiet_NaN()), std::numeric_limits<std::int64_t>::min());
}

TEST_F(Numbers, IndexCheckRejectsTheCountAndMinusOne) {
  EXPECT_EQ(check_array_index(4, 5), 4);
  EXPECT_EQ(runtime().failures.pending, 0);
  EXPECT_EQ(check_array_index(5, 5), -1);
  EXPECT_EQ(runtime().failures.pending, 9);
  runtime().failures.pending = 0;
  check_array_index(-1, 5);
  EXPECT_EQ(runtime().failures.pending, 9);
}

TEST_F(Numbers, TableAccessOutsideItsBoundsReachesNothingOfTheTable) {
  Table<float, 3, 2> table;
  table(2.0f, 1.0f) = 7;
  table(3.0f, 0.0f) = 99;
  EXPECT_EQ(runtime().failures.pending, 9);
  EXPECT_EQ(table.unchecked(2, 1), 7);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_NE(table.unchecked(i, j), 99);
}

TEST_F(Numbers, TextFunctionsKeepTheirEdges) {
  EXPECT_EQ(mid_string(" 5", 2), "5");
  EXPECT_EQ(mid_string("+12", 3, 1, true), "2");
  EXPECT_EQ(mid_string("+12", 4, 1, true), "");
  EXPECT_EQ(mid_string("abcdef", 0, 3, true), "ab");
  EXPECT_EQ(string_fill(-3, ' '), "");
  EXPECT_EQ(string_fill(3, 0x120), "   ");
  EXPECT_EQ(lcase_string("TqZ@["), "tqz@[");
  EXPECT_EQ(chr_string(219), "\xdb");
  EXPECT_EQ(chr_string(256), "");
  EXPECT_EQ(runtime().failures.pending, 5);
}

TEST_F(Numbers, GeneratorFollowsItsSequenceFromTheStartSeed) {
  const unsigned seeds[] = {11837123, 8949370, 9722709, 4858052, 5065847};
  for (unsigned seed : seeds) EXPECT_EQ(rnd(), static_cast<float>(seed) / 16777216.0f);
  EXPECT_EQ(rnd(0), 5065847 / 16777216.0f);
}

TEST_F(Numbers, ArithmeticKeepsItsStatedPrecision) {
  EXPECT_EQ(sgn_single(-0.0f), 0);
  EXPECT_EQ(sgn_single(std::numeric_limits<float>::quiet_NaN()), -1);
  EXPECT_EQ(floor_single(-0.5f), -1);
  EXPECT_EQ(sqr(-1), 0);
  EXPECT_EQ(runtime().failures.pending, 5);
  runtime().failures.pending = 0;
  EXPECT_EQ(power(-2, 0.5L), 0);
  EXPECT_EQ(runtime().failures.pending, 5);
  EXPECT_EQ(power(-3, 2), 9);
}

}  // namespace
