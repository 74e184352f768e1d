// The pair terms kernel on one lane, for processors without AVX2.
#include "compute/lanes_scalar.h"
#include "model/pair_terms.h"
#include "model/pair_terms_lanes.h"

void pair_terms_scalar(const PartnerColumns& partners, const PairOrigin& origin, const PairTerms& terms) {
  pair_terms_lanes<LanesScalar>(partners, origin, terms);
}
