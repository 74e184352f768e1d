#pragma once
// The contribution of a partner q to the force on a particle p, by the extended formula and by
// the fast lanes. Both give the same bits for every input.
#include "model/pair_terms.h"

struct Vec3 {
  float x, y, z;
};

// The extended formula: adds the contribution of partner q to the force on p.
void add_pair(Vec3& force, const Vec3& p, const Vec3& q, float gain, float deg_to_rad);

// Adds the contributions of the partners in ascending order: the kernel's proven terms with the
// extended formula's roundings of each sum, and the extended formula for every partner that the
// kernel did not prove. At most max_partners partners (padded), the most a kind holds.
constexpr std::size_t max_partners = padded_partners(801);
void add_partners(Vec3& force, const Vec3& p, const PartnerColumns& partners, float gain, float deg_to_rad,
                  PairTermsKernel kernel);
