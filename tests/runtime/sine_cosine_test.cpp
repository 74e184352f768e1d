#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>
#include <span>

#include "runtime/numbers.h"
#include "runtime/sine_cosine.h"
#include "support/sine_cosine_arguments.h"

namespace {

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }
float from_bits(std::uint32_t value) { return std::bit_cast<float>(value); }

// The sine or cosine of x and the bits it must have.
struct ValueCase {
  float x;
  bool cosine;
  std::uint32_t value;
};
void expect_bits(std::span<const ValueCase> cases) {
  for (const ValueCase& c : cases)
    EXPECT_EQ(bits(c.cosine ? cos_single(c.x) : sin_single(c.x)), c.value) << c.x << (c.cosine ? " cos" : " sin");
}

TEST(SineCosine, EverySystemGivesTheReferenceBits) {
  std::atomic<std::uint64_t> digest = 0;
  sine_cosine_arguments::in_parallel(1, [&](std::uint64_t first, std::uint64_t end, std::uint64_t, unsigned) {
    std::uint64_t sum = 0;
    for (std::uint64_t i = first; i < end; ++i) {
      const float x = sine_cosine_arguments::argument(i);
      sum += sine_cosine_arguments::digest(x, sin_single(x), cos_single(x));
    }
    digest += sum;
  });
  EXPECT_EQ(digest, sine_cosine_arguments::reference_digest);
}

// Zero keeps its sign in the sine; an infinity gives the processor's default not-a-number and a
// not-a-number itself, quieted, as the C library's double sine and cosine gave them.
TEST(SineCosine, ZeroInfinityAndNotANumber) {
  struct Case {
    std::uint32_t x, sine, cosine;
  };
  const Case cases[] = {
      {0x00000000, 0x00000000, 0x3f800000}, {0x80000000, 0x80000000, 0x3f800000},
      {0x7f800000, 0xffc00000, 0xffc00000}, {0xff800000, 0xffc00000, 0xffc00000},
      {0x7fc00000, 0x7fc00000, 0x7fc00000}, {0xffc12345, 0xffc12345, 0xffc12345},
      {0x7fa00001, 0x7fe00001, 0x7fe00001},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bits(sin_single(from_bits(c.x))), c.sine) << std::hex << c.x;
    EXPECT_EQ(bits(cos_single(from_bits(c.x))), c.cosine) << std::hex << c.x;
  }
}

// Large arguments reduce exactly: 875467.625, where the x87 instructions behind one C library's
// sine give 0x396b0510; the largest float; the float whose r is the smallest (about 2^-29.6).
// The rest lie so near a rounding boundary that the double estimate leaves them to the fixed
// point.
TEST(SineCosine, HardArgumentsKeepTheirBits) {
  const ValueCase cases[] = {
      {875467.625f, false, 0x396b050f},       {0x1.fffffep127f, false, 0xbf0599b3},
      {0x1.fffffep127f, true, 0x3f5a5f96},    {0x1.f37c8ap+95f, true, 0xb0ddeea9},
      {0x1p-12f, true, 0x3f800000},           {0x1.e7061ep-2f, false, 0x3eea6f45},
      {0x1.f1d224p+83f, true, 0xbd769ca5},    {0x1.54594ep+127f, false, 0x3efdc03d},
  };
  expect_bits(cases);
}

// The only floats whose correctly rounded double lies exactly halfway between two floats: the
// value is the even one of the two, one unit from the float nearest the true value (0xbeb1fa5d,
// 0x3eb1fa5d, 0x3f7f14bb and 0x3f78142f).
TEST(SineCosine, HalfwayDoublesGoToTheEvenFloat) {
  const ValueCase cases[] = {
      {0x1.33333p+13f, false, 0xbeb1fa5e}, {-0x1.33333p+13f, false, 0x3eb1fa5e},
      {0x1.3170fp+63f, true, 0x3f7f14bc},  {-0x1.3170fp+63f, true, 0x3f7f14bc},
      {0x1.2b9622p+67f, true, 0x3f78142e}, {-0x1.2b9622p+67f, true, 0x3f78142e},
  };
  expect_bits(cases);
}

// The circle's step, pi/2 / n, in the doubles that MPFR rounds them to (checked there for
// every n below 2^20): n = 1, pi/2 itself; n = 2, where the sine and cosine of the double
// below pi/4 differ in their last bit; the rotation hint's 79; a large n and the largest.
TEST(SineCosine, QuarterStepsKeepTheirBits) {
  struct Case {
    std::int32_t n;
    std::uint64_t sine, cosine;
  };
  const Case cases[] = {
      {1, 0x3ff0000000000000, 0x3c91a62633145c07},       {2, 0x3fe6a09e667f3bcc, 0x3fe6a09e667f3bcd},
      {79, 0x3f945bff072d7a13, 0x3feffe61749a771a},      {1000003, 0x3eba5a7fa51603dd, 0x3fefffffffffd498},
      {2147483647, 0x3e0921fb5476710f, 0x3ff0000000000000},
  };
  for (const Case& c : cases) {
    const sine_cosine::SineCosine step = sine_cosine::quarter_step(c.n);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(step.sine), c.sine) << c.n;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(step.cosine), c.cosine) << c.n;
  }
}

}  // namespace
