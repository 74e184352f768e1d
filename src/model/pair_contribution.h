#pragma once
// The contribution of a partner q to the force on a particle p, by the extended formula and by
// the fast lanes. Both give the same bits for every input.
#include "model/pair_terms.h"

struct Vec3 {
  float x, y, z;
};

// The extended formula: adds the contribution of partner q to the force on p.
void add_pair(Vec3& force, const Vec3& p, const Vec3& q, float gain, float deg_to_rad);

// Adds the contributions of the partners in ascending order to the forces of up to
// origins_together particles, forces[i] for origins[i]: the kernel's proven terms with the
// extended formula's roundings of each sum, and the extended formula for every partner that the
// kernel did not prove. Each force is summed in its own order, and the sums of the particles run
// side by side, which hides the latency of each rounded sum. At most max_partners partners
// (padded), the most a kind holds.
constexpr std::size_t max_partners = padded_partners(801);
constexpr std::size_t origins_together = 4;
void add_partners_together(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                           float gain, float deg_to_rad, PairTermsKernel kernel);
