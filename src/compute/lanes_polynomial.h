#pragma once
// Polynomials of several values at once, in any lanes type L, by Estrin's scheme: the
// coefficients paired by multiply-adds in z, the pairs paired in z^2, those in z^4 and so on.
// The kernel's phases wait on each value's chain of operations far more than on the count of
// them, and this chain is about log2(N) multiply-adds long where Horner's rule takes N - 1, at
// the cost of the powers of z (two products for up to eight coefficients).
#include <cstddef>

#define LANES_INLINE [[gnu::always_inline]] inline

namespace lanes_polynomial {

// t[0] + t[1] power + t[2] power^2 + ..., pairing neighbours while more than one is left.
template <class L, std::size_t Count>
LANES_INLINE typename L::Doubles pair_up(const typename L::Doubles (&t)[Count], typename L::Doubles power) {
  if constexpr (Count == 1) {
    return t[0];
  } else {
    constexpr std::size_t pairs = Count / 2, left = (Count + 1) / 2;
    typename L::Doubles paired[left];
#pragma GCC unroll 8
    for (std::size_t k = 0; k < pairs; ++k) paired[k] = L::multiply_add(t[2 * k + 1], power, t[2 * k]);
    if constexpr (Count % 2 == 1) paired[left - 1] = t[Count - 1];
    return pair_up<L, left>(paired, power * power);
  }
}

// A coefficient in lanes: a constant splat, or one already in lanes (computed at run time).
template <class L>
LANES_INLINE typename L::Doubles in_lanes(double c) {
  return L::splat(c);
}
template <class L, class C>
LANES_INLINE typename L::Doubles in_lanes(const C& c) {
  return c;
}

// p[j] = c[0] + c[1] z[j] + ... + c[N-1] z[j]^(N-1), each step by L::multiply_add; the
// coefficients are doubles or L::Doubles.
template <class L, class C, std::size_t N, std::size_t M>
LANES_INLINE void estrin(const C (&c)[N], const typename L::Doubles (&z)[M], typename L::Doubles (&p)[M]) {
  static_assert(N >= 2, "a polynomial of degree 1 or more");
  using D = typename L::Doubles;
  constexpr std::size_t first = (N + 1) / 2;
#pragma GCC unroll 16
  for (std::size_t j = 0; j < M; ++j) {
    D t[first];
#pragma GCC unroll 8
    for (std::size_t k = 0; k < N / 2; ++k)
      t[k] = L::multiply_add(in_lanes<L>(c[2 * k + 1]), z[j], in_lanes<L>(c[2 * k]));
    if constexpr (N % 2 == 1) t[first - 1] = in_lanes<L>(c[N - 1]);
    p[j] = pair_up<L, first>(t, z[j] * z[j]);
  }
}

}  // namespace lanes_polynomial
