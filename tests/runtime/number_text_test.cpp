#include "runtime/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/fresh_program.h"

namespace {

using NumberText = FreshProgram;

TEST_F(NumberText, WritesEveryFormAsItsTableShows) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, " 0"},
      {-0.0f, " 0"},
      {5.0f, " 5"},
      {-1.0f, "-1"},
      {0.5f, " .5"},
      {-0.5f, "-.5"},
      {0.3f, " .3"},
      {0.35f, " .35"},
      {single(0.8f + 0.05L), " .85"},
      {single(1.0L / 3), " .3333333"},
      {single(2.0L / 3), " .6666667"},
      {65.5f, " 65.5"},
      {2600.0f, " 2600"},
      {999999.9375f, " 999999.9"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568E+07"},
      {10000000.0f, " 1E+07"},
      {0.0000001f, " .0000001"},
      {0.00000015f, " 1.5E-07"},
      {0.0012345f, " .0012345"},
      {0.00012345f, " 1.2345E-04"},
      {0.0174532924f, " 1.745329E-02"},
      {-1E15f, "-1E+15"},
      {3.402823466E+38f, " 3.402823E+38"},
      {12345665.0f, " 1.234566E+07"},  // halfway: to the even digit
      {12345675.0f, " 1.234568E+07"},
      {0.125f, " .125"},
      {std::numeric_limits<float>::infinity(), " INF"},
      {-std::numeric_limits<float>::infinity(), "-INF"},
      {std::numeric_limits<float>::quiet_NaN(), " NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(single_to_str(c.value), c.text) << "value " << c.value;
}

TEST_F(NumberText, ReadsTheNumberAtTheStartOfAText) {
  const struct {
    const char* text;
    long double value;
  } cases[] = {
      {"+1", 1}, {"-1", -1}, {"", 0}, {"+", 0}, {".", 0}, {"1 2", 12}, {"7", 7}, {"39", 39},
      {" 1.5E+2x", 150}, {"2d1", 20}, {"&H1F", 31}, {"&o17", 15}, {"&B101", 5}, {" & h 1f", 31}, {"3 .25", 3.25L},
  };
  for (const auto& c : cases) EXPECT_EQ(val_string(c.text), c.value) << "text \"" << c.text << "\"";
}

TEST_F(NumberText, HexadecimalBeyondSixtyFourBitsOverflows) {
  EXPECT_EQ(val_string("&H10000000000000000"), 0);
  EXPECT_EQ(runtime().failures.pending, 6);
}

}  // namespace
