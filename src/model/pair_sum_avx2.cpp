// The summation for four double lanes on AVX2.
#include "compute/lanes_avx2.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumAvx2 : LanesAvx2 {
  // Four rows of four floats at a time, turned into four columns.
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    for (std::size_t q = 0; q < count; q += 4, out += 16) {
      __m128 r0 = _mm_loadu_ps(base + offsets[0] + q), r1 = _mm_loadu_ps(base + offsets[1] + q);
      __m128 r2 = _mm_loadu_ps(base + offsets[2] + q), r3 = _mm_loadu_ps(base + offsets[3] + q);
      _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
      _mm_storeu_ps(out + 0, r0);
      _mm_storeu_ps(out + 4, r1);
      _mm_storeu_ps(out + 8, r2);
      _mm_storeu_ps(out + 12, r3);
    }
  }
  static Mask float_midpoints(Doubles values) {
    const __m256i low_bits = _mm256_and_si256(_mm256_castpd_si256(values), _mm256_set1_epi64x(0x1FFFFFFF));
    return _mm256_cmpeq_epi64(low_bits, _mm256_set1_epi64x(0x10000000));
  }
  static Mask outside_floats(Doubles values) {
    const Doubles magnitude = _mm256_and_pd(values, _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF)));
    const Doubles inside = _mm256_and_pd(_mm256_cmp_pd(magnitude, splat(0x1p128), _CMP_LT_OQ),
                                         _mm256_cmp_pd(magnitude, splat(0x1p-126), _CMP_GE_OQ));
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
