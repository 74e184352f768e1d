// The pair terms kernel on four AVX2 lanes.
#include "compute/lanes_avx2.h"
#include "model/pair_terms.h"
#include "model/pair_terms_lanes.h"

void pair_terms_avx2(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms) {
  pair_terms_lanes<LanesAvx2>(partners, origin, terms);
}
