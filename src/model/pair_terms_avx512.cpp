// The pair terms kernel on eight AVX-512 lanes.
#include "compute/lanes_avx512.h"
#include "model/pair_terms.h"
#include "model/pair_terms_lanes.h"

void pair_terms_avx512(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms) {
  pair_terms_lanes<LanesAvx512>(partners, origin, terms);
}
