#pragma once
// Four double lanes on AVX2 with fused multiply-add. Include only from files compiled with
// -mavx2 -mfma (named *_avx2.cpp), and call only when vector_isa() is VectorIsa::avx2 or wider.
//
// Files compiled for one instruction set must not call an inline function that other files
// also use (the linker may keep this file's copy for every caller): they call intrinsics,
// SLEEF and the members of their own lanes type only.
#include <immintrin.h>
#include <sleef.h>

#if !defined(__AVX2__) || !defined(__FMA__)
#error "lanes_avx2.h needs a file compiled with -mavx2 -mfma"
#endif

struct LanesAvx2 {
  static constexpr int count = 4;
  using Doubles = __m256d;   // + - * / by the compiler's vector operators, each rounded once
  using Mask = __m256i;      // lane i all ones where it holds, all zeros where not; & | ~ by the compiler
  using Bits = __m256i;      // each lane's 64 bits as an integer; & | by the compiler

  static Doubles splat(double value) { return _mm256_set1_pd(value); }
  // Four floats, widened exactly.
  static Doubles load_floats(const float* values) { return _mm256_cvtps_pd(_mm_loadu_ps(values)); }
  // Rounds each lane to float (nearest, ties to even) and stores it.
  static void store_floats(Doubles values, float* out) { _mm_storeu_ps(out, _mm256_cvtpd_ps(values)); }
  // Each lane rounded to float and widened back, exactly as a float held in a double.
  static Doubles round_to_float(Doubles values) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(values)); }
  // a * b + c, rounded once.
  static Doubles multiply_add(Doubles a, Doubles b, Doubles c) { return _mm256_fmadd_pd(a, b, c); }
  static Doubles sqrt(Doubles values) { return _mm256_sqrt_pd(values); }
  // 1 / b through floats, for a b whose float and its reciprocal are normal, for the quotients'
  // refinement (lanes_quotient.h): RCPPS's 1.5 * 2^-12 relative, with b's rounding to float
  // (2^-24) as the reciprocal's factor 1 / (1 + d), |1 - b r| <= (1.5 * 2^-12 + 2^-24) / (1 - 2^-24).
  // The kernel keeps the division: with the refinement (six operations a quotient on pipes half
  // as wide as AVX-512's) it measured a quarter slower here.
  static constexpr bool divides_by_estimate = false;
  static constexpr double reciprocal_estimate_error = (0x1.8p-12 + 0x1p-24) / (1 - 0x1p-24);
  static Doubles reciprocal_estimate(Doubles b) { return _mm256_cvtps_pd(_mm_rcp_ps(_mm256_cvtpd_ps(b))); }
  // c - a * b, rounded once.
  static Doubles negative_multiply_add(Doubles a, Doubles b, Doubles c) { return _mm256_fnmadd_pd(a, b, c); }
  static Doubles atan(Doubles values) { return Sleef_atand4_u10avx2(values); }
  static Doubles sin(Doubles values) { return Sleef_sind4_u10avx2(values); }
  static Doubles cos(Doubles values) { return Sleef_cosd4_u10avx2(values); }
  // The faster forms within 3.5 ulp (error_bound::sleef_u35).
  static Doubles atan_u35(Doubles values) { return Sleef_atand4_u35avx2(values); }
  static Doubles sin_u35(Doubles values) { return Sleef_sind4_u35avx2(values); }
  // Square roots by the square-root unit and the division: on the processors measured, the
  // step's multiply-add pipes, half as wide as AVX-512's, have no room for the refinement of an
  // estimate (lanes_root.h), which costs more than the divider it spares.
  static constexpr bool roots_by_estimate = false;
  // The estimate for that refinement: RSQRTPS of the value's float, for a value whose float is
  // normal: within 1.5 * 2^-12 relative of that float's reciprocal root, and the float's
  // rounding (2^-24 relative) moves the root by at most 2^-25 (1 + 2^-24).
  static constexpr double reciprocal_sqrt_error = 0x1.8p-12 + 0x1p-24;
  static Doubles reciprocal_sqrt_estimate(Doubles values) {
    return _mm256_cvtps_pd(_mm_rsqrt_ps(_mm256_cvtpd_ps(values)));
  }

  static Mask less(Doubles a, Doubles b) { return _mm256_castpd_si256(_mm256_cmp_pd(a, b, _CMP_LT_OQ)); }
  static Mask equal(Doubles a, Doubles b) { return _mm256_castpd_si256(_mm256_cmp_pd(a, b, _CMP_EQ_OQ)); }
  // mask ? yes : no, lane by lane.
  static Doubles select(Mask mask, Doubles yes, Doubles no) {
    return _mm256_blendv_pd(no, yes, _mm256_castsi256_pd(mask));
  }
  // Bit i for lane i.
  static unsigned mask_bits(Mask mask) { return static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(mask))); }

  static Bits bits(Doubles values) { return _mm256_castpd_si256(values); }
  static Doubles from_bits(Bits bits) { return _mm256_castsi256_pd(bits); }
  static Bits splat_bits(long long value) { return _mm256_set1_epi64x(value); }
  // The sum modulo 2^64.
  static Bits add_bits(Bits a, Bits b) { return _mm256_add_epi64(a, b); }
  // The smaller of a and b in each lane below 2^32 (AVX2 has no 64-bit form: the 32-bit halves
  // are compared apart, so the high halves must be alike).
  static Bits smaller_bits(Bits a, Bits b) { return _mm256_min_epu32(a, b); }
  // a < b as signed integers.
  static Mask less_bits(Bits a, Bits b) { return _mm256_cmpgt_epi64(b, a); }
  // a < b as unsigned integers: AVX2 compares signed ones, so both get their top bit turned.
  static Mask below(Bits a, Bits b) {
    const Bits top = _mm256_set1_epi64x(static_cast<long long>(0x8000'0000'0000'0000ULL));
    return _mm256_cmpgt_epi64(b ^ top, a ^ top);
  }
};
