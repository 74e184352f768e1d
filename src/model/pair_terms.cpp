#include "model/pair_terms.h"

#include "compute/vector_isa.h"

PairTermsKernel pair_terms_kernel() {
  static constexpr PairTermsKernel kernels[vector_isa_count] = {pair_terms_scalar, pair_terms_avx2, pair_terms_avx512};
  return kernel_for_isa(kernels);
}
