#pragma once
// Polynomials of several values at once, in any lanes type L, by Horner's rule: independent
// chains of products and sums side by side, so that the processor overlaps their latencies.
#include <cstddef>

#define LANES_INLINE [[gnu::always_inline]] inline

namespace lanes_polynomial {

// p[j] = c[0] + c[1] z[j] + ... + c[N-1] z[j]^(N-1), each step p z + c by L::multiply_add.
template <class L, std::size_t N, std::size_t M>
LANES_INLINE void horner(const double (&c)[N], const typename L::Doubles (&z)[M], typename L::Doubles (&p)[M]) {
  const typename L::Doubles top = L::splat(c[N - 1]);
#pragma GCC unroll 16
  for (std::size_t j = 0; j < M; ++j) p[j] = top;
#pragma GCC unroll 16
  for (std::size_t step = 1; step < N; ++step) {
    const typename L::Doubles coefficient = L::splat(c[N - 1 - step]);
#pragma GCC unroll 16
    for (std::size_t j = 0; j < M; ++j) p[j] = L::multiply_add(p[j], z[j], coefficient);
  }
}

}  // namespace lanes_polynomial
