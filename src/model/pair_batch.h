#pragma once
// The fast path of the pair contributions: the partners of one target kind added to the forces
// of a few particles of one kind, by the lanes of the vector set in force wherever they prove
// the extended formula's floats, and by the extended formula for every other partner.
#include <cstddef>

#include "model/pair_contribution.h"
#include "model/pair_sums.h"
#include "model/partner_columns.h"

// Adds the contributions of the partners in ascending order to the forces of `together`
// particles, forces[i] for origins[i], each force summed in its own order: the lanes' proven
// terms summed in double lanes where that gives the extended formula's float, and add_pair for
// every partner the lanes did not prove. Returns how many contributions were handed to add_pair.
std::size_t add_partners_together(Vec3* forces, const Vec3* origins, std::size_t together,
                                  const PartnerColumns& partners, float gain, float deg_to_rad);
