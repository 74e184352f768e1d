#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cstdint>

#include "runtime/numbers.h"
#include "support/sine_cosine_arguments.h"

namespace {

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }
float from_bits(std::uint32_t value) { return std::bit_cast<float>(value); }

TEST(SineCosine, EverySystemGivesTheCorrectlyRoundedBits) {
  std::atomic<std::uint64_t> digest = 0;
  sine_cosine_arguments::in_parallel(1, [&](std::uint64_t first, std::uint64_t end, std::uint64_t, unsigned) {
    std::uint64_t sum = 0;
    for (std::uint64_t i = first; i < end; ++i) {
      const float x = sine_cosine_arguments::argument(i);
      sum += sine_cosine_arguments::digest(x, sin_single(x), cos_single(x));
    }
    digest += sum;
  });
  EXPECT_EQ(digest, sine_cosine_arguments::correctly_rounded_digest);
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
  struct Case {
    float x;
    bool cosine;
    std::uint32_t value;
  };
  const Case cases[] = {
      {875467.625f, false, 0x396b050f},       {0x1.fffffep127f, false, 0xbf0599b3},
      {0x1.fffffep127f, true, 0x3f5a5f96},    {0x1.f37c8ap+95f, true, 0xb0ddeea9},
      {0x1p-12f, true, 0x3f800000},           {0x1.e7061ep-2f, false, 0x3eea6f45},
      {0x1.33333p+13f, false, 0xbeb1fa5d},    {-0x1.33333p+13f, false, 0x3eb1fa5d},
      {0x1.f1d224p+83f, true, 0xbd769ca5},    {0x1.54594ep+127f, false, 0x3efdc03d},
  };
  for (const Case& c : cases)
    EXPECT_EQ(bits(c.cosine ? cos_single(c.x) : sin_single(c.x)), c.value) << c.x << (c.cosine ? " cos" : " sin");
}

}  // namespace
