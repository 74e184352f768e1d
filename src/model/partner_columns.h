#pragma once
// The partners of one target kind as the fast path of the pair contributions reads them: one
// column per coordinate, padded to whole lane groups. Shared by the batch and its kernels.
#include <cstddef>

// The partners' coordinates, one column each, padded with any values up to a multiple of
// partner_padding entries (the kernels read whole lane groups).
struct PartnerColumns {
  const float* x;
  const float* y;
  const float* z;
  std::size_t count;
};
constexpr std::size_t partner_padding = 8;
constexpr std::size_t padded_partners(std::size_t count) {
  return (count + partner_padding - 1) / partner_padding * partner_padding;
}

// The most partners one call adds (padded), the most a kind holds.
constexpr std::size_t max_partners = padded_partners(801);
