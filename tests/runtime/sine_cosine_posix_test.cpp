// The sine and cosine against MPFR, which rounds the true value: every checked argument gives
// MPFR's correctly rounded double rounded to float, the double estimate stays within its bound,
// the fixed point and the exact reduction hold what they claim.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "runtime/numbers.h"
#include "runtime/sine_cosine.h"
#include "support/sine_cosine_arguments.h"
#include "support/vector_isas.h"

namespace {

namespace args = sine_cosine_arguments;

// MPFR numbers of one thread, freed with the thread's caches when it is done.
class Mpfr {
 public:
  explicit Mpfr(mpfr_prec_t precision) {
    mpfr_inits2(precision, sine_, cosine_, scratch_, static_cast<mpfr_ptr>(nullptr));
    mpfr_inits2(24, argument_, nearest_sine_, nearest_cosine_, static_cast<mpfr_ptr>(nullptr));
    mpfr_inits2(53, double_sine_, double_cosine_, static_cast<mpfr_ptr>(nullptr));
  }
  ~Mpfr() {
    mpfr_clears(argument_, nearest_sine_, nearest_cosine_, double_sine_, double_cosine_, sine_, cosine_, scratch_,
                static_cast<mpfr_ptr>(nullptr));
    mpfr_free_cache();
  }
  Mpfr(const Mpfr&) = delete;
  Mpfr& operator=(const Mpfr&) = delete;

  // The correctly rounded double sine and cosine, each rounded to float (nearest, ties to even,
  // subnormal floats included). No sine or cosine of a float lies near the double's subnormals.
  std::pair<float, float> rounded(float x) {
    mpfr_set_flt(argument_, x, MPFR_RNDN);
    mpfr_sin_cos(double_sine_, double_cosine_, argument_, MPFR_RNDN);
    return {static_cast<float>(mpfr_get_d(double_sine_, MPFR_RNDN)),
            static_cast<float>(mpfr_get_d(double_cosine_, MPFR_RNDN))};
  }

  // The float nearest the true sine and cosine, of a float whose values are normal floats.
  std::pair<float, float> nearest(float x) {
    mpfr_set_flt(argument_, x, MPFR_RNDN);
    mpfr_sin_cos(nearest_sine_, nearest_cosine_, argument_, MPFR_RNDN);
    return {mpfr_get_flt(nearest_sine_, MPFR_RNDN), mpfr_get_flt(nearest_cosine_, MPFR_RNDN)};
  }

  // |estimate - true value| / |estimate| in units of 2^-53.
  double error_units(float x, bool cosine, double estimate) {
    mpfr_set_flt(argument_, x, MPFR_RNDN);
    mpfr_sin_cos(sine_, cosine_, argument_, MPFR_RNDN);
    mpfr_set_d(scratch_, estimate, MPFR_RNDN);
    mpfr_sub(scratch_, scratch_, cosine ? cosine_ : sine_, MPFR_RNDN);
    mpfr_div_d(scratch_, scratch_, estimate, MPFR_RNDN);
    return std::fabs(mpfr_get_d(scratch_, MPFR_RNDN)) * 0x1p53;
  }

  // The exact reduction of |x| against x * 2/pi worked out to many bits: whether its quadrant
  // and sign agree and |r| lies within 2^-120 of the true one.
  bool reduction_holds(float magnitude) {
    mpfr_t quotient, k, r, ours;
    mpfr_inits2(600, quotient, k, r, ours, static_cast<mpfr_ptr>(nullptr));
    mpfr_const_pi(quotient, MPFR_RNDN);
    mpfr_ui_div(quotient, 2, quotient, MPFR_RNDN);
    mpfr_mul_d(quotient, quotient, magnitude, MPFR_RNDN);
    mpfr_rint(k, quotient, MPFR_RNDN);
    mpfr_sub(r, quotient, k, MPFR_RNDN);
    mpfr_const_pi(ours, MPFR_RNDN);
    mpfr_mul(r, r, ours, MPFR_RNDN);
    mpfr_div_2ui(r, r, 1, MPFR_RNDN);  // r = (x * 2/pi - k) * pi/2
    const sine_cosine::Reduction reduction = sine_cosine::reduce(magnitude);
    mpfr_fmod_ui(k, k, 4, MPFR_RNDN);
    bool holds = mpfr_get_si(k, MPFR_RNDN) == reduction.quadrant && (mpfr_sgn(r) < 0) == reduction.negative;
    mpfr_set_ui(ours, static_cast<unsigned long>(reduction.mantissa >> 64), MPFR_RNDN);
    mpfr_mul_2ui(ours, ours, 64, MPFR_RNDN);
    mpfr_add_ui(ours, ours, static_cast<unsigned long>(reduction.mantissa), MPFR_RNDN);
    mpfr_mul_2si(ours, ours, reduction.exponent, MPFR_RNDN);
    mpfr_abs(r, r, MPFR_RNDN);
    mpfr_sub(ours, ours, r, MPFR_RNDN);
    mpfr_div(ours, ours, r, MPFR_RNDN);
    holds = holds && std::fabs(mpfr_get_d(ours, MPFR_RNDN)) < 0x1p-120;
    mpfr_clears(quotient, k, r, ours, static_cast<mpfr_ptr>(nullptr));
    return holds;
  }

 private:
  mpfr_t argument_, nearest_sine_, nearest_cosine_, double_sine_, double_cosine_, sine_, cosine_, scratch_;
};

// The arguments where a check failed, a few of them, for the message.
class Failures {
 public:
  void add(float x, const char* what) {
    const std::lock_guard lock(mutex_);
    if (++count_ <= 10) text_ += std::string(what) + "(" + std::to_string(x) + ") ";
  }
  long count() const { return count_; }
  const std::string& text() const { return text_; }

 private:
  std::mutex mutex_;
  long count_ = 0;
  std::string text_;
};

std::uint32_t bits(float value) { return std::bit_cast<std::uint32_t>(value); }

// Every checked argument (every 97th in the sanitizer builds): the sine and cosine are MPFR's
// correctly rounded doubles rounded to float, and so the digest that every system checks is
// theirs.
TEST(SineCosineAgainstMpfr, EveryCheckedArgumentIsTheRoundedDouble) {
  const std::uint64_t stride = sanitized_build ? 97 : 1;
  Failures failures;
  std::atomic<std::uint64_t> digest = 0;
  args::in_parallel(stride, [&](std::uint64_t first, std::uint64_t end, std::uint64_t step, unsigned) {
    Mpfr mpfr(24);
    std::uint64_t sum = 0;
    for (std::uint64_t i = first; i < end; i += step) {
      const float x = args::argument(i);
      const auto [sine, cosine] = mpfr.rounded(x);
      if (bits(sin_single(x)) != bits(sine)) failures.add(x, "sin");
      if (bits(cos_single(x)) != bits(cosine)) failures.add(x, "cos");
      sum += args::digest(x, sine, cosine);
    }
    digest += sum;
  });
  EXPECT_EQ(failures.count(), 0) << failures.text();
  if (stride == 1) {
    EXPECT_EQ(digest, args::reference_digest);
  }
}

// The floats whose correctly rounded double lies exactly halfway between two floats: rounding
// that double goes to the even float, not to the one nearest the true value.
TEST(SineCosineAgainstMpfr, HalfwayDoublesGoToTheEvenFloat) {
  struct Case {
    float x;
    bool cosine;
  };
  const Case cases[] = {
      {0x1.33333p+13f, false}, {-0x1.33333p+13f, false}, {0x1.3170fp+63f, true},
      {-0x1.3170fp+63f, true}, {0x1.2b9622p+67f, true},  {-0x1.2b9622p+67f, true},
  };
  Mpfr mpfr(24);
  for (const Case& c : cases) {
    const auto [sine, cosine] = mpfr.rounded(c.x);
    const auto [nearest_sine, nearest_cosine] = mpfr.nearest(c.x);
    const float ours = c.cosine ? cos_single(c.x) : sin_single(c.x);
    EXPECT_EQ(bits(ours), bits(c.cosine ? cosine : sine)) << c.x;
    EXPECT_NE(bits(ours), bits(c.cosine ? nearest_cosine : nearest_sine)) << c.x;
  }
}

// The error analysis of the double estimate, on every 61st checked argument.
TEST(SineCosineAgainstMpfr, EstimateStaysWithinItsBound) {
  const std::uint64_t stride = sanitized_build ? 997 : 61;
  Failures failures;
  std::mutex mutex;
  double largest = 0;
  args::in_parallel(stride, [&](std::uint64_t first, std::uint64_t end, std::uint64_t step, unsigned) {
    Mpfr mpfr(160);
    double own_largest = 0;
    for (std::uint64_t i = first; i < end; i += step) {
      const float x = args::argument(i);
      if (x == 0) continue;
      for (const bool cosine : {false, true}) {
        const double error = mpfr.error_units(x, cosine, sine_cosine::estimate(x, cosine));
        own_largest = std::max(own_largest, error);
        if (!(error <= sine_cosine::estimate_bound)) failures.add(x, cosine ? "cos" : "sin");
      }
    }
    const std::lock_guard lock(mutex);
    largest = std::max(largest, own_largest);
  });
  EXPECT_EQ(failures.count(), 0) << failures.text() << " largest error " << largest;
}

// The fixed point and the exact reduction on their own, on random normal floats of every size
// (a subnormal argument's sine, a subnormal float, is always the estimate's).
TEST(SineCosineAgainstMpfr, FixedPointAndReductionHold) {
  std::mt19937 random(19);
  std::uniform_int_distribution<std::uint32_t> any_bits(0x00800000, 0x7f7fffff);
  Mpfr mpfr(24);
  const int count = sanitized_build ? 2'000 : 50'000;
  int wrong = 0, undecided = 0, reductions_off = 0;
  for (int i = 0; i < count; ++i) {
    const float x = std::bit_cast<float>(any_bits(random));
    const auto [sine, cosine] = mpfr.rounded(x);
    for (const bool which : {false, true}) {
      bool decided;
      const float value = sine_cosine::precise_float(x, which, decided);
      wrong += bits(value) != bits(which ? cosine : sine);
      undecided += !decided;
    }
    reductions_off += !mpfr.reduction_holds(x);
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(undecided, 0);
  EXPECT_EQ(reductions_off, 0);
}

// The circle's step sine and cosine, pi/2 / n in double, against MPFR's correctly rounded
// doubles: every n below 2^20 (every 97th in the sanitizer builds) and random n up to the
// largest 32-bit one.
TEST(SineCosineAgainstMpfr, QuarterStepsAreCorrectlyRoundedDoubles) {
  const std::int32_t stride = sanitized_build ? 97 : 1;
  std::vector<std::int32_t> steps;
  for (std::int32_t n = 1; n < (1 << 20); n += stride) steps.push_back(n);
  std::mt19937 random(23);
  std::uniform_int_distribution<std::int32_t> any_n(1 << 20, std::numeric_limits<std::int32_t>::max());
  for (int i = 0; i < 20'000; ++i) steps.push_back(any_n(random));
  steps.push_back(std::numeric_limits<std::int32_t>::max());
  mpfr_t d, sine, cosine;
  mpfr_inits2(53, d, sine, cosine, static_cast<mpfr_ptr>(nullptr));
  long wrong = 0;
  std::string first_wrong;
  for (const std::int32_t n : steps) {
    mpfr_set_d(d, std::numbers::pi / 2 / n, MPFR_RNDN);
    mpfr_sin_cos(sine, cosine, d, MPFR_RNDN);
    const sine_cosine::SineCosine ours = sine_cosine::quarter_step(n);
    if (ours.sine != mpfr_get_d(sine, MPFR_RNDN) || ours.cosine != mpfr_get_d(cosine, MPFR_RNDN)) {
      if (wrong++ == 0) first_wrong = std::to_string(n);
    }
  }
  mpfr_clears(d, sine, cosine, static_cast<mpfr_ptr>(nullptr));
  mpfr_free_cache();
  EXPECT_EQ(wrong, 0) << "first at n = " << first_wrong;
}

}  // namespace
