// The summation for four double lanes on AVX2.
#include "compute/lanes_avx2.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumAvx2 : LanesAvx2 {
  // Two of the four groups at a time: their six sums and terms fill the sixteen registers.
  static constexpr std::size_t groups_in_flight = 2;
  // The bit tests of many sums in vector registers, with no mask per sum: each lane ors in
  // whether a sum is a float midpoint, and keeps the greatest w of the range test on the sums
  // rounded by their bits, eight high halves to a register.
  struct Marks {
    __m256i midpoints = _mm256_setzero_si256();
    __m256i farthest = _mm256_setzero_si256();
    void round(Doubles x, Doubles y, Doubles z, Doubles (&rounded)[3]) {
      // The midpoint pattern lies in the low 32 bits of a double: those of x and y side by side
      // in one register, compared at once.
      const __m256i xy_low = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castpd_ps(x), _mm256_castpd_ps(y), 0x88));
      const __m256i xy_midpoints = _mm256_cmpeq_epi32(_mm256_and_si256(xy_low, _mm256_set1_epi32(below_float_bits)),
                                                      _mm256_set1_epi32(float_midpoint_bits));
      midpoints = midpoints | xy_midpoints | float_midpoints(z);
      // Each sum rounded by its bits.
      const auto by_bits = [](Doubles v) {
        return _mm256_and_si256(_mm256_add_epi64(_mm256_castpd_si256(v), _mm256_set1_epi64x(float_midpoint_bits)),
                                _mm256_set1_epi64x(~below_float_bits));
      };
      const __m256i rx = by_bits(x), ry = by_bits(y), rz = by_bits(z);
      rounded[0] = _mm256_castsi256_pd(rx);
      rounded[1] = _mm256_castsi256_pd(ry);
      rounded[2] = _mm256_castsi256_pd(rz);
      const __m256i offset = _mm256_set1_epi32(static_cast<int>(high_offset));
      const __m256i xy_high = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(rx), _mm256_castsi256_ps(ry), 0xDD));
      const __m256i z_high = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(rz), _mm256_castsi256_ps(rz), 0xDD));
      farthest = _mm256_max_epu32(farthest, _mm256_sub_epi32(_mm256_add_epi32(xy_high, xy_high), offset));
      farthest = _mm256_max_epu32(farthest, _mm256_sub_epi32(_mm256_add_epi32(z_high, z_high), offset));
    }
    bool any() const {
      // w <= high_limit as unsigned where min(w, high_limit) = w.
      const __m256i limit = _mm256_set1_epi32(static_cast<int>(high_limit));
      const __m256i inside = _mm256_cmpeq_epi32(_mm256_min_epu32(farthest, limit), farthest);
      return _mm256_movemask_epi8(inside) != -1 || !_mm256_testz_si256(midpoints, midpoints);
    }
  };
  // Four rows of eight floats at a time, turned into eight columns: each 128-bit half turns
  // four partners, and the halves are paired up at the end.
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    for (std::size_t q = 0; q < count; q += 8, out += 32) {
      const __m256 r0 = _mm256_loadu_ps(base + offsets[0] + q), r1 = _mm256_loadu_ps(base + offsets[1] + q);
      const __m256 r2 = _mm256_loadu_ps(base + offsets[2] + q), r3 = _mm256_loadu_ps(base + offsets[3] + q);
      const __m256 t0 = _mm256_unpacklo_ps(r0, r1), t1 = _mm256_unpackhi_ps(r0, r1);
      const __m256 t2 = _mm256_unpacklo_ps(r2, r3), t3 = _mm256_unpackhi_ps(r2, r3);
      // Columns q and q + 4, q + 1 and q + 5, ...
      const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
      const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
      _mm256_storeu_ps(out + 0, _mm256_permute2f128_ps(u0, u1, 0x20));
      _mm256_storeu_ps(out + 8, _mm256_permute2f128_ps(u2, u3, 0x20));
      _mm256_storeu_ps(out + 16, _mm256_permute2f128_ps(u0, u1, 0x31));
      _mm256_storeu_ps(out + 24, _mm256_permute2f128_ps(u2, u3, 0x31));
    }
  }
  static Mask float_midpoints(Doubles values) {
    const __m256i low_bits = _mm256_and_si256(_mm256_castpd_si256(values), _mm256_set1_epi64x(below_float_bits));
    return _mm256_cmpeq_epi64(low_bits, _mm256_set1_epi64x(float_midpoint_bits));
  }
  static Mask outside_floats(Doubles values) {
    const Doubles magnitude = _mm256_and_pd(values, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF)));
    const Doubles inside = _mm256_and_pd(_mm256_cmp_pd(magnitude, splat(float_overflow), _CMP_LT_OQ),
                                         _mm256_cmp_pd(magnitude, splat(smallest_normal_float), _CMP_GE_OQ));
    return ~_mm256_castpd_si256(inside);
  }
};

}  // namespace

std::size_t add_partners_avx2(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                              float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                              pair_lanes::LaneResults (&results)[origins_together]) {
  return add_partners<SumAvx2>(forces, origins, together, partners, gain, deg_to_rad, kernel, results);
}

}  // namespace pair_sum
