#pragma once
// The fast path of the pair contribution: for one particle and the partners of one target kind,
// each partner's direction terms and falloff, evaluated in double lanes and proven to be the
// floats that the extended formula gives. The caller adds them to the force in partner order.
#include <cstddef>

// The partners' coordinates, one column each, padded with any values up to a multiple of
// pair_terms_padding entries (the kernels read whole lane groups).
struct PartnerColumns {
  const float* x;
  const float* y;
  const float* z;
  std::size_t count;
};
constexpr std::size_t pair_terms_padding = 8;
constexpr std::size_t padded_partners(std::size_t count) {
  return (count + pair_terms_padding - 1) / pair_terms_padding * pair_terms_padding;
}

// The particle whose force is summed, the rule entry's gain and the degree-to-radian factor.
struct PairOrigin {
  float x, y, z;
  float gain;
  float deg_to_rad;
};

// Per partner: -dir_x, -dir_y, -dir_z and the capped falloff, and whether the lane proved them.
// A partner that is not proven must be computed by the extended formula. Each array holds the
// partners' count padded as the columns are.
struct PairTerms {
  float* minus_dir_x;
  float* minus_dir_y;
  float* minus_dir_z;
  float* falloff;
  bool* proven;
};

using PairTermsKernel = void (*)(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms);

// The kernel of the vector set in force.
PairTermsKernel pair_terms_kernel();

// The kernels of each set; call one only where vector_isa() allows it.
void pair_terms_scalar(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms);
void pair_terms_avx2(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms);
void pair_terms_avx512(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms);
