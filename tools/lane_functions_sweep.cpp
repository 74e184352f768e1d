// Checks the bounds of the lanes' own arc tangent and sine (compute/lanes_arc_tangent.h,
// compute/lanes_sine.h) for every argument they serve: the arc tangent over every positive
// normal float against FPATAN (documented within 2^-63 relative) and one float in 4096 against
// MPFR, each at several scales, the sine over every float from 1.5 to 8 against MPFR. The
// lanes of every set run the same operations in the same order, but their quotients differ
// (lanes_quotient.h) and so do their multiply-adds (rounded twice on the scalar lanes, once on
// the vector sets): each set this machine has is swept on its own lanes
// (lane_functions_sweep_avx2.cpp, _avx512.cpp), one value in all lanes, in the quotient's form
// it chooses and from its reciprocal estimate.
// Prints the largest errors in units of 2^-53; exits 1 if one reaches its bound.
// Usage: lane_functions_sweep [THREADS]
#include <mpfr.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "compute/lanes_arc_tangent.h"
#include "compute/lanes_scalar.h"
#include "compute/lanes_sine.h"
#include "compute/vector_isa.h"
#include "lane_functions_sweep.h"

namespace {

constexpr long double unit = 0x1p-53L;
constexpr double fpatan_units = 0x1p-10;    // FPATAN's documented error, 2^-63 relative
constexpr double extended_units = 0x1p-11;  // one rounding in extended

// The scales the arc tangent is checked at: 1, and degrees per radian for the step's smallest,
// usual and largest degree factors (lanes_arc_tangent.h says why these serve for every scale).
constexpr float degree_factors[] = {0.0171f, 0.0174532924f, 0.0178f};
constexpr int scale_count = 1 + std::size(degree_factors);

double scale(int which) { return which == 0 ? 1 : 1.0 / degree_factors[which - 1]; }

double scaled_arc_tangent_scalar(double value, double scale) {
  return sweep_lanes::scaled_arc_tangent<LanesScalar>(value, scale);
}
double sine_scalar(double argument) { return sweep_lanes::sine<LanesScalar>(argument); }

// The functions of one set's lanes.
struct Lanes {
  const char* name;
  double (*scaled_arc_tangent)(double value, double scale);
  double (*sine)(double argument);
};

// The error of estimate against the true value, in units of 2^-53 relative to it.
double error_units(double estimate, mpfr_t exact, mpfr_t scratch) {
  mpfr_sub_d(scratch, exact, estimate, MPFR_RNDN);
  mpfr_div(scratch, scratch, exact, MPFR_RNDN);
  return std::fabs(mpfr_get_d(scratch, MPFR_RNDN)) / 0x1p-53;
}

struct Largest {
  double atan_by_fpatan = 0, atan_by_mpfr = 0, sine = 0;
  void take(const Largest& other) {
    atan_by_fpatan = std::max(atan_by_fpatan, other.atan_by_fpatan);
    atan_by_mpfr = std::max(atan_by_mpfr, other.atan_by_mpfr);
    sine = std::max(sine, other.sine);
  }
};

void sweep(const Lanes& lanes, unsigned first, unsigned step, Largest& largest) {
  mpfr_t argument, exact, scratch;
  mpfr_inits2(128, argument, exact, scratch, static_cast<mpfr_ptr>(nullptr));
  // The step's proofs hand the arc tangent normal floats only.
  constexpr std::uint32_t smallest_normal = 0x00800000, infinity = 0x7f800000;
  for (std::uint64_t bits = smallest_normal + first; bits < infinity; bits += step) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    const long double reference = atanl(x);
    for (int which = 0; which < scale_count; ++which) {
      const double estimate = lanes.scaled_arc_tangent(x, scale(which));
      // The scale times FPATAN's value, rounded once in extended.
      const long double scaled = reference * scale(which);
      const double by_fpatan =
          static_cast<double>(std::fabs((estimate - scaled) / scaled) / unit) + fpatan_units + extended_units;
      largest.atan_by_fpatan = std::max(largest.atan_by_fpatan, by_fpatan);
      if (bits % 4096 == 0) {
        mpfr_set_flt(argument, x, MPFR_RNDN);
        mpfr_atan(exact, argument, MPFR_RNDN);
        mpfr_mul_d(exact, exact, scale(which), MPFR_RNDN);
        largest.atan_by_mpfr = std::max(largest.atan_by_mpfr, error_units(estimate, exact, scratch));
      }
    }
  }
  const std::uint32_t low = std::bit_cast<std::uint32_t>(static_cast<float>(lanes_sine::lowest_argument));
  const std::uint32_t high = std::bit_cast<std::uint32_t>(static_cast<float>(lanes_sine::highest_argument));
  for (std::uint32_t bits = low + first; bits <= high; bits += step) {
    const float x = std::bit_cast<float>(bits);
    mpfr_set_flt(argument, x, MPFR_RNDN);
    mpfr_sin(exact, argument, MPFR_RNDN);
    largest.sine = std::max(largest.sine, error_units(lanes.sine(x), exact, scratch));
  }
  mpfr_clears(argument, exact, scratch, static_cast<mpfr_ptr>(nullptr));
}

// Sweeps every argument for one set's lanes on `threads` threads; true when the bounds hold.
bool bounds_hold(const Lanes& lanes, unsigned threads) {
  std::mutex lock;
  Largest largest;
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      Largest own;
      sweep(lanes, t, threads, own);
      const std::lock_guard guard(lock);
      largest.take(own);
    });
  for (std::thread& worker : workers) worker.join();
  std::printf("%s arc tangent: %.1f u against FPATAN, %.1f u against MPFR (bound %.0f u)\n", lanes.name,
              largest.atan_by_fpatan, largest.atan_by_mpfr, lanes_arc_tangent::bound_units);
  std::printf("%s sine: %.1f u against MPFR (bound %.0f u)\n", lanes.name, largest.sine, lanes_sine::bound_units);
  return largest.atan_by_fpatan < lanes_arc_tangent::bound_units &&
         largest.atan_by_mpfr < lanes_arc_tangent::bound_units && largest.sine < lanes_sine::bound_units;
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned threads = std::max(argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : std::thread::hardware_concurrency(), 1u);
  bool hold = bounds_hold({"scalar", scaled_arc_tangent_scalar, sine_scalar}, threads);
  if (best_vector_isa() >= VectorIsa::avx2) {
    hold &= bounds_hold({"avx2", scaled_arc_tangent_avx2, sine_avx2}, threads);
    hold &= bounds_hold({"avx2 from its estimate", scaled_arc_tangent_avx2_by_estimate, sine_avx2}, threads);
  }
  if (best_vector_isa() >= VectorIsa::avx512) {
    hold &= bounds_hold({"avx512", scaled_arc_tangent_avx512, sine_avx512}, threads);
    hold &= bounds_hold({"avx512 from its estimate", scaled_arc_tangent_avx512_by_estimate, sine_avx512}, threads);
  }
  return hold ? 0 : 1;
}
