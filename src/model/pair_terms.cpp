#include "model/pair_terms.h"

#include <algorithm>

#include "compute/vector_isa.h"

namespace {

// The set without lanes proves no partner.
void pair_terms_none(const PartnerColumns& partners, const PairOrigin&, const PairTerms& terms) {
  std::fill_n(terms.proven, partners.count, false);
}

}  // namespace

PairTermsKernel pair_terms_kernel() {
  static constexpr PairTermsKernel kernels[vector_isa_count] = {pair_terms_none, pair_terms_scalar, pair_terms_avx2,
                                                                pair_terms_avx512};
  return kernel_for_isa(kernels);
}
