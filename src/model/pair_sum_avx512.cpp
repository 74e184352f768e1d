// The summation for eight double lanes on AVX-512.
#include "compute/lanes_avx512.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumAvx512 : LanesAvx512 {
  // Eight rows of eight floats at a time, turned into eight columns.
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    for (std::size_t q = 0; q < count; q += 8, out += 64) {
      __m256 r[8];
      for (int row = 0; row < 8; ++row) r[row] = _mm256_loadu_ps(base + offsets[row] + q);
      const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]), t1 = _mm256_unpackhi_ps(r[0], r[1]);
      const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]), t3 = _mm256_unpackhi_ps(r[2], r[3]);
      const __m256 t4 = _mm256_unpacklo_ps(r[4], r[5]), t5 = _mm256_unpackhi_ps(r[4], r[5]);
      const __m256 t6 = _mm256_unpacklo_ps(r[6], r[7]), t7 = _mm256_unpackhi_ps(r[6], r[7]);
      const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
      const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
      const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44), u5 = _mm256_shuffle_ps(t4, t6, 0xEE);
      const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44), u7 = _mm256_shuffle_ps(t5, t7, 0xEE);
      _mm256_storeu_ps(out + 0, _mm256_permute2f128_ps(u0, u4, 0x20));
      _mm256_storeu_ps(out + 8, _mm256_permute2f128_ps(u1, u5, 0x20));
      _mm256_storeu_ps(out + 16, _mm256_permute2f128_ps(u2, u6, 0x20));
      _mm256_storeu_ps(out + 24, _mm256_permute2f128_ps(u3, u7, 0x20));
      _mm256_storeu_ps(out + 32, _mm256_permute2f128_ps(u0, u4, 0x31));
      _mm256_storeu_ps(out + 40, _mm256_permute2f128_ps(u1, u5, 0x31));
      _mm256_storeu_ps(out + 48, _mm256_permute2f128_ps(u2, u6, 0x31));
      _mm256_storeu_ps(out + 56, _mm256_permute2f128_ps(u3, u7, 0x31));
    }
  }
  static Mask float_midpoints(Doubles values) {
    const __m512i low_bits = _mm512_and_si512(_mm512_castpd_si512(values), _mm512_set1_epi64(0x1FFFFFFF));
    return _mm512_cmpeq_epi64_mask(low_bits, _mm512_set1_epi64(0x10000000));
  }
  static Mask outside_floats(Doubles values) {
    const Doubles magnitude = _mm512_abs_pd(values);
    const Mask inside = _mm512_cmp_pd_mask(magnitude, splat(0x1p128), _CMP_LT_OQ) &
                        _mm512_cmp_pd_mask(magnitude, splat(0x1p-126), _CMP_GE_OQ);
    return ~inside & 0xFF;
  }
};

}  // namespace

std::size_t add_partners_avx512(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]) {
  return add_partners<SumAvx512>(forces, origins, together, partners, gain, deg_to_rad, kernel,
                                 results);
}

}  // namespace pair_sum
