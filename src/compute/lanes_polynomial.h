#pragma once
// Polynomials of three values at once, in any lanes type L, by Estrin's scheme: neighbouring
// coefficients are joined in pairs by z, the pairs by z^2, those by z^4 and so on, so that the
// chain of dependent products and sums is log2(N) steps long instead of N, and the three values'
// chains run side by side. Every product and sum rounds once; the bounds of the functions that
// use it are checked with this very evaluation.
#include <cstddef>

#define LANES_INLINE [[gnu::always_inline]] inline

namespace lanes_polynomial {

// p[j] = c[0] + c[1] z[j] + ... + c[N-1] z[j]^(N-1).
template <class L, std::size_t N>
LANES_INLINE void estrin3(const double (&c)[N], const typename L::Doubles (&z)[3], typename L::Doubles (&p)[3]) {
  using D = typename L::Doubles;
  for (int j = 0; j < 3; ++j) {
    D terms[N];
#pragma GCC unroll 16
    for (std::size_t i = 0; i < N; ++i) terms[i] = L::splat(c[i]);
    D power = z[j];
    std::size_t count = N;
#pragma GCC unroll 8
    while (count > 1) {
#pragma GCC unroll 16
      for (std::size_t i = 0; i < count / 2; ++i) terms[i] = terms[2 * i] + terms[2 * i + 1] * power;
      if (count % 2 == 1) terms[count / 2] = terms[count - 1];
      count = (count + 1) / 2;
      power = power * power;
    }
    p[j] = terms[0];
  }
}

}  // namespace lanes_polynomial
