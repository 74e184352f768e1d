// The summation for eight double lanes on AVX-512.
#include "compute/lanes_avx512.h"
#include "model/pair_sum_lanes.h"
#include "model/pair_sums.h"

namespace pair_sum {
namespace {

struct SumAvx512 : LanesAvx512 {
  // Both groups in flight: six chains of sums beside each other.
  static constexpr std::size_t groups_in_flight = 2;
  // Eight rows of eight floats at a time, turned into eight columns: rows k and k + 4 side by
  // side in one register, so that each step below treats two rows' halves at once.
  static void transpose(const float* base, const int* offsets, std::size_t count, float* out) {
    const auto two_rows = [&](int row, std::size_t q) {
      const __m512d low = _mm512_castpd256_pd512(_mm256_castps_pd(_mm256_loadu_ps(base + offsets[row] + q)));
      return _mm512_castpd_ps(_mm512_insertf64x4(low, _mm256_castps_pd(_mm256_loadu_ps(base + offsets[row + 4] + q)), 1));
    };
    for (std::size_t q = 0; q < count; q += 8, out += 64) {
      const __m512 r04 = two_rows(0, q), r15 = two_rows(1, q), r26 = two_rows(2, q), r37 = two_rows(3, q);
      const __m512 t0 = _mm512_unpacklo_ps(r04, r15), t1 = _mm512_unpackhi_ps(r04, r15);
      const __m512 t2 = _mm512_unpacklo_ps(r26, r37), t3 = _mm512_unpackhi_ps(r26, r37);
      // Each 128-bit quarter now holds four floats of one column: columns 0-3 of rows 0-3 in
      // the low half, of rows 4-7 in the high half.
      const __m512 u0 = _mm512_shuffle_ps(t0, t2, 0x44), u1 = _mm512_shuffle_ps(t0, t2, 0xEE);
      const __m512 u2 = _mm512_shuffle_ps(t1, t3, 0x44), u3 = _mm512_shuffle_ps(t1, t3, 0xEE);
      _mm512_storeu_ps(out + 0, _mm512_shuffle_f32x4(u0, u1, 0x88));
      _mm512_storeu_ps(out + 16, _mm512_shuffle_f32x4(u2, u3, 0x88));
      _mm512_storeu_ps(out + 32, _mm512_shuffle_f32x4(u0, u1, 0xDD));
      _mm512_storeu_ps(out + 48, _mm512_shuffle_f32x4(u2, u3, 0xDD));
    }
  }
  static Mask float_midpoints(Doubles values) {
    const __m512i low_bits = _mm512_and_si512(_mm512_castpd_si512(values), _mm512_set1_epi64(below_float_bits));
    return _mm512_cmpeq_epi64_mask(low_bits, _mm512_set1_epi64(float_midpoint_bits));
  }
  static Mask outside_floats(Doubles values) {
    const Doubles magnitude = _mm512_abs_pd(values);
    const Mask inside = _mm512_cmp_pd_mask(magnitude, splat(float_overflow), _CMP_LT_OQ) &
                        _mm512_cmp_pd_mask(magnitude, splat(smallest_normal_float), _CMP_GE_OQ);
    return ~inside & 0xFF;
  }
  // The bit tests of many sums in vector registers alone, with no mask moved out per sum: each
  // lane keeps the least of its sums' low bits against the midpoint pattern (0 once one is a
  // midpoint), and the greatest w of the range test on the sums rounded by their bits.
  struct Marks {
    __m512i nearest_midpoint = _mm512_set1_epi32(-1), nearest_midpoint_z = _mm512_set1_epi64(-1);
    __m512i farthest = _mm512_setzero_si512();
    void round(Doubles x, Doubles y, Doubles z, Doubles (&rounded)[3]) {
      // (bits & below_float) ^ midpoint: 0 exactly at a midpoint, which lies in the low 32 bits
      // of a double: those of x and y side by side in one register.
      const __m512i xy_low = _mm512_castps_si512(_mm512_shuffle_ps(_mm512_castpd_ps(x), _mm512_castpd_ps(y), 0x88));
      nearest_midpoint = _mm512_min_epu32(
          nearest_midpoint, _mm512_ternarylogic_epi32(xy_low, _mm512_set1_epi32(below_float_bits),
                                                      _mm512_set1_epi32(float_midpoint_bits), 0x6A));
      nearest_midpoint_z = _mm512_min_epu64(
          nearest_midpoint_z, _mm512_ternarylogic_epi64(_mm512_castpd_si512(z), _mm512_set1_epi64(below_float_bits),
                                                        _mm512_set1_epi64(float_midpoint_bits), 0x6A));
      // Each sum rounded by its bits.
      const auto by_bits = [](Doubles v) {
        return _mm512_and_si512(_mm512_add_epi64(_mm512_castpd_si512(v), _mm512_set1_epi64(float_midpoint_bits)),
                                _mm512_set1_epi64(~below_float_bits));
      };
      const __m512i rx = by_bits(x), ry = by_bits(y), rz = by_bits(z);
      rounded[0] = _mm512_castsi512_pd(rx);
      rounded[1] = _mm512_castsi512_pd(ry);
      rounded[2] = _mm512_castsi512_pd(rz);
      const __m512i offset = _mm512_set1_epi32(static_cast<int>(high_offset));
      const __m512i xy_high = _mm512_castps_si512(
          _mm512_shuffle_ps(_mm512_castsi512_ps(rx), _mm512_castsi512_ps(ry), 0xDD));
      const __m512i z_high = _mm512_castps_si512(_mm512_shuffle_ps(_mm512_castsi512_ps(rz), _mm512_castsi512_ps(rz), 0xDD));
      farthest = _mm512_max_epu32(farthest, _mm512_sub_epi32(_mm512_add_epi32(xy_high, xy_high), offset));
      farthest = _mm512_max_epu32(farthest, _mm512_sub_epi32(_mm512_add_epi32(z_high, z_high), offset));
    }
    bool any() const {
      const __mmask16 marked =
          _mm512_cmpeq_epi32_mask(nearest_midpoint, _mm512_setzero_si512()) |
          _mm512_cmpeq_epi64_mask(nearest_midpoint_z, _mm512_setzero_si512()) |
          _mm512_cmpgt_epu32_mask(farthest, _mm512_set1_epi32(static_cast<int>(high_limit)));
      return marked != 0;
    }
  };
};

}  // namespace

std::size_t add_partners_avx512(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                                float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                                pair_lanes::LaneResults (&results)[origins_together]) {
  return add_partners<SumAvx512>(forces, origins, together, partners, gain, deg_to_rad, kernel,
                                 results);
}

}  // namespace pair_sum
