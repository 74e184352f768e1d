#pragma once
// Polynomials of three values at once, in any lanes type L, by Horner's rule: three independent
// chains of products and sums side by side, so that the processor overlaps their latencies.
#include <cstddef>

#define LANES_INLINE [[gnu::always_inline]] inline

namespace lanes_polynomial {

// p[j] = c[0] + c[1] z[j] + ... + c[N-1] z[j]^(N-1), each product and sum rounded once.
template <class L, std::size_t N>
LANES_INLINE void horner3(const double (&c)[N], const typename L::Doubles (&z)[3], typename L::Doubles (&p)[3]) {
  const typename L::Doubles top = L::splat(c[N - 1]);
  p[0] = top, p[1] = top, p[2] = top;
#pragma GCC unroll 16
  for (std::size_t step = 1; step < N; ++step) {
    const typename L::Doubles coefficient = L::splat(c[N - 1 - step]);
    p[0] = p[0] * z[0] + coefficient;
    p[1] = p[1] * z[1] + coefficient;
    p[2] = p[2] * z[2] + coefficient;
  }
}

}  // namespace lanes_polynomial
