#pragma once
// Eight double lanes on AVX-512 (foundation set). Include only from files compiled with
// -mavx512f (named *_avx512.cpp), and call only when vector_isa() is VectorIsa::avx512.
//
// Files compiled for one instruction set must not call an inline function that other files
// also use (the linker may keep this file's copy for every caller): they call intrinsics,
// SLEEF and the members of their own lanes type only.
#include <immintrin.h>
#include <sleef.h>

#ifndef __AVX512F__
#error "lanes_avx512.h needs a file compiled with -mavx512f"
#endif

struct LanesAvx512 {
  static constexpr int count = 8;
  using Doubles = __m512d;   // + - * / by the compiler's vector operators, each rounded once
  using Mask = unsigned;     // bit i for lane i
  using Bits = __m512i;      // each lane's 64 bits as an integer; & | by the compiler

  static Doubles splat(double value) { return _mm512_set1_pd(value); }
  // Eight floats, widened exactly.
  static Doubles load_floats(const float* values) { return _mm512_cvtps_pd(_mm256_loadu_ps(values)); }
  // Rounds each lane to float (nearest, ties to even) and stores it.
  static void store_floats(Doubles values, float* out) { _mm256_storeu_ps(out, _mm512_cvtpd_ps(values)); }
  // Each lane rounded to float and widened back, exactly as a float held in a double.
  static Doubles round_to_float(Doubles values) { return _mm512_cvtps_pd(_mm512_cvtpd_ps(values)); }
  // a * b + c, rounded once.
  static Doubles multiply_add(Doubles a, Doubles b, Doubles c) { return _mm512_fmadd_pd(a, b, c); }
  static Doubles sqrt(Doubles values) { return _mm512_sqrt_pd(values); }
  // 1 / b within 2^-14 relative (VRCP14PD), for the quotients' refinement (lanes_quotient.h).
  // The kernel keeps the division: with the refinement its step measured no faster here (the
  // multiply-add pipes, which the phases keep busy, pay for the divider's turns it saves).
  static constexpr bool divides_by_estimate = false;
  static constexpr double reciprocal_estimate_error = 0x1p-14;
  static Doubles reciprocal_estimate(Doubles b) { return _mm512_rcp14_pd(b); }
  // c - a * b, rounded once.
  static Doubles negative_multiply_add(Doubles a, Doubles b, Doubles c) { return _mm512_fnmadd_pd(a, b, c); }
  static Doubles atan(Doubles values) { return Sleef_atand8_u10avx512f(values); }
  static Doubles sin(Doubles values) { return Sleef_sind8_u10avx512f(values); }
  static Doubles cos(Doubles values) { return Sleef_cosd8_u10avx512f(values); }
  // The faster forms within 3.5 ulp (error_bound::sleef_u35).
  static Doubles atan_u35(Doubles values) { return Sleef_atand8_u35avx512f(values); }
  static Doubles sin_u35(Doubles values) { return Sleef_sind8_u35avx512f(values); }
  // Square roots by the refinement of an estimate (lanes_root.h): VRSQRT14PD, within 2^-14
  // relative for every normal double.
  static constexpr bool roots_by_estimate = true;
  static constexpr double reciprocal_sqrt_error = 0x1p-14;
  static Doubles reciprocal_sqrt_estimate(Doubles values) { return _mm512_rsqrt14_pd(values); }

  static Mask less(Doubles a, Doubles b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
  static Mask equal(Doubles a, Doubles b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
  // mask ? yes : no, lane by lane.
  static Doubles select(Mask mask, Doubles yes, Doubles no) {
    return _mm512_mask_blend_pd(static_cast<__mmask8>(mask), no, yes);
  }
  static unsigned mask_bits(Mask mask) { return mask; }

  static Bits bits(Doubles values) { return _mm512_castpd_si512(values); }
  static Doubles from_bits(Bits bits) { return _mm512_castsi512_pd(bits); }
  static Bits splat_bits(long long value) { return _mm512_set1_epi64(value); }
  // The sum modulo 2^64.
  static Bits add_bits(Bits a, Bits b) { return _mm512_add_epi64(a, b); }
  // The smaller of a and b as unsigned integers.
  static Bits smaller_bits(Bits a, Bits b) { return _mm512_min_epu64(a, b); }
  // a < b as signed integers.
  static Mask less_bits(Bits a, Bits b) { return _mm512_cmplt_epi64_mask(a, b); }
  // a < b as unsigned integers.
  static Mask below(Bits a, Bits b) { return _mm512_cmplt_epu64_mask(a, b); }
};
