#pragma once
// The forces of up to origins_together particles summed side by side in double lanes, one lane
// per particle, each over the partners in ascending order: the sums that add_pair's last three
// statements form in extended precision, bit for bit. Include only from the summation files
// (pair_sum_scalar.cpp, _avx2.cpp, _avx512.cpp): everything here is a template of the lanes
// type S, so each set's copy stays its own.
//
// S is a lanes type of compute/ (LanesScalar, LanesAvx2, LanesAvx512) with three members more:
// transpose(base, offsets, count, out) writes, for q below count rounded up to a multiple of
// eight, the float at base + offsets[lane] + q to out[q x lanes + lane]; float_midpoints(v)
// marks the lanes whose double is a float midpoint (see below) and outside_floats(v) those
// whose magnitude is below FLT_MIN, 2^128 or more, infinite or not a number; a Marks value
// gathers both tests, or the wider ones on the sums rounded by their bits (below), over many
// sums (round(x, y, z, rounded), which also gives each sum's float wherever it leaves the lane
// unmarked) and tells whether any lane of any of them was marked (any()), MaskMarks<S> where
// the set has no cheaper way.
//
// Why one double sum rounded to float is the extended formula's float. A component of a force
// f takes the term a x b, with f, a (minus the direction term) and b (the falloff) floats; the
// extended formula stores RN24(RN64(f + a x b)), the lanes RN24(RN53(f + a x b)), where RNp
// rounds to p significant bits, to nearest, ties to even. Let s = f + a x b, D = RN53(s) and
// E = RN64(s).
//  1. (E1) a x b is exact in double and in extended, so D and E each round the exact s once.
//  2. Every float and every midpoint between two neighbouring floats (25 significant bits) is
//     a double; RN24 is constant on each open interval between neighbouring midpoints.
//  3. (monotonic rounding) For a double t, s < t gives D <= t, s > t gives D >= t, s = t gives
//     D = t. So when D is no midpoint, D lies strictly between two neighbouring midpoints m1,
//     m2 and so does s (s <= m1 would give D <= m1): RN24(D) = RN24(s). Likewise for E.
//  4. A midpoint m is no power of two (its 25th bit is set), so its double neighbours are
//     m -+ ulp53(m). When E = m, |s - m| <= ulp64(m) / 2 < ulp53(m) / 2, so D = m too.
//  5. Hence when D is no midpoint, neither is E, and RN24(D) = RN24(s) = RN24(E). When D is a
//     midpoint, s may lie on either side of it by less than the double's half ulp, and the
//     extended formula sums that lane's component itself (add_term).
// The bit test. For FLT_MIN <= |D| < 2^128, a float has the 29 low bits of D's significand 0
// (52 fraction bits against 23), and a midpoint lies half a float ulp above one, in the same
// binade: its 29 low bits are 1 followed by 28 zeros. That one integer comparison marks them
// all, the overflow threshold 2^128 - 2^103 (the midpoint above FLT_MAX) included. Outside
// that range (zero, float subnormals, infinities, NaN, whose bits the two formulas need not
// share) the extended formula sums the lane.
// The unchecked sums rounded by their bits. Where a run of sums is summed again with the exact
// tests once any lane is marked (add_unchecked below), a wider test, which marks every sum the
// bit test or the range test marks and a few more, serves as well, and the float of an unmarked
// sum may come by any way that gives RN24(D) there. Let R be D's bits, taken as an integer, plus
// 2^28 with the 29 low bits then cleared.
//  - For FLT_MIN <= |D| < 2^128, R rounds D's significand to 24 bits, to nearest, ties away
//    from zero: a carry out of the fraction raises the exponent, and the bits order the
//    magnitudes. For no midpoint that is RN24(D), the float round_to_float gives, except above
//    the midpoint 2^128 - 2^103, where R is 2^128 and the float infinite.
//  - (monotonic rounding in the bits) FLT_MIN's and 2^128's 29 low bits are 0, so the rounding
//    takes no magnitude across either: |D| < FLT_MIN gives |R| <= FLT_MIN, and |D| >= 2^128
//    gives |R| >= 2^128. An infinite D stays infinite; a NaN gives a NaN, an infinity or, where
//    the sum carries out of the magnitude bits, a zero.
// The range test on R marks |R| <= FLT_MIN and |R| >= 2^128 (infinities and NaN among them),
// so an unmarked R has FLT_MIN <= |D| < 2^128, and with the bit test unmarked as well, R is
// RN24(D), finite. It reads R's high 32 bits alone, whose magnitude m lies, for an unmarked R,
// above FLT_MIN's (0x38100000: |R| > FLT_MIN) and below 2^128's (0x47F00000): m from
// lowest_unmarked_high to highest_unmarked_high, a few R above FLT_MIN marked as well. With b
// those bits, 2b = 2m modulo 2^32 (the sign shifted out), and w = 2b - 2 lowest_unmarked_high
// modulo 2^32 takes those m to 0 up to high_limit = 2 (highest_unmarked_high -
// lowest_unmarked_high), and every other m, up to 2^31 - 1, beyond it: those below wrap to
// 2^32 - 2 lowest_unmarked_high and up, those above give at least high_limit + 2 and at most
// 2 (2^31 - 1 - lowest_unmarked_high). One unsigned maximum of w over the sums tests them all.
#include <cstddef>
#include <cstdint>

#include "model/pair_contribution.h"
#include "model/pair_kernels.h"
#include "model/pair_sums.h"

namespace pair_sum {

// The bit test below: the low bits of a double's significand that a float leaves 0, and their
// pattern at a float midpoint; and the range of magnitudes where it holds.
constexpr std::uint64_t below_float_bits = 0x1FFFFFFF, float_midpoint_bits = 0x10000000;
constexpr double smallest_normal_float = 0x1p-126, float_overflow = 0x1p128;
// The range test on the sums rounded by their bits (above): the least and the greatest high
// halves of an unmarked magnitude, above FLT_MIN's and below 2^128's, and w's offset and limit.
constexpr std::uint32_t lowest_unmarked_high = 0x38100001, highest_unmarked_high = 0x47EFFFFF;
constexpr std::uint32_t high_offset = 2 * lowest_unmarked_high,
                        high_limit = 2 * (highest_unmarked_high - lowest_unmarked_high);

// The bit tests of many sums gathered in one mask.
template <class S>
struct MaskMarks {
  typename S::Mask marked{};
  void round(typename S::Doubles x, typename S::Doubles y, typename S::Doubles z, typename S::Doubles (&rounded)[3]) {
    marked = marked | S::float_midpoints(x) | S::outside_floats(x) | S::float_midpoints(y) | S::outside_floats(y) |
             S::float_midpoints(z) | S::outside_floats(z);
    rounded[0] = S::round_to_float(x);
    rounded[1] = S::round_to_float(y);
    rounded[2] = S::round_to_float(z);
  }
  bool any() const { return S::mask_bits(marked) != 0; }
};

// The partners whose terms the kernel computes at once: the terms of every particle summed
// together stay in the first-level cache.
constexpr std::size_t partner_block = 64;

// The partners summed between two looks at the bit tests: about one force sum in 10,000 is
// marked, so these few, not the whole block, are summed again when one is.
constexpr std::size_t partners_unchecked = 8;
static_assert(partner_block <= 64 && partner_block % partners_unchecked == 0);

// Adds the partners' contributions to forces[i] for origins[i], i below `together`, with the
// kernel's terms in `results` (one per particle) and add_pair for every partner the kernel did
// not prove. Returns how many contributions were handed to add_pair.
template <class S>
std::size_t add_partners(Vec3* forces, const Vec3* origins, std::size_t together, const PartnerColumns& partners,
                         float gain, float deg_to_rad, pair_lanes::Kernel kernel,
                         pair_lanes::LaneResults (&results)[origins_together]) {
  using D = typename S::Doubles;
  using Mask = unsigned;  // bit i for lane i
  constexpr std::size_t lanes = S::count, groups = origins_together / lanes;
  static_assert(groups * lanes == origins_together);
  constexpr Mask all_lanes = (Mask{1} << lanes) - 1;

  // Lane i of group g is particle g x lanes + i; the lanes beyond `together` read particle 0's
  // terms and are never stored.
  constexpr int results_stride = sizeof(pair_lanes::LaneResults) / sizeof(float);
  static_assert(results_stride * sizeof(float) == sizeof(pair_lanes::LaneResults));
  int offsets[groups][lanes];
  // -dir_x, -dir_y, -dir_z and the falloff of one block, partner by partner, for each group.
  float terms_by_partner[groups][4][partner_block * lanes];
  Mask used[groups];
  D fx[groups], fy[groups], fz[groups];
  float x[origins_together], y[origins_together], z[origins_together];
  for (std::size_t i = 0; i < origins_together; ++i) {
    const std::size_t origin = i < together ? i : 0;
    offsets[i / lanes][i % lanes] = static_cast<int>(origin) * results_stride;
    x[i] = forces[origin].x;
    y[i] = forces[origin].y;
    z[i] = forces[origin].z;
  }
  for (std::size_t group = 0; group < groups; ++group) {
    const std::size_t first = group * lanes;
    used[group] = first >= together ? 0 : together - first >= lanes ? all_lanes : (Mask{1} << (together - first)) - 1;
    fx[group] = S::load_floats(x + first);
    fy[group] = S::load_floats(y + first);
    fz[group] = S::load_floats(z + first);
  }

  // The lanes whose double sum the extended formula must redo: a float midpoint, or outside
  // the normal floats.
  const auto suspects = [](D sum) { return S::float_midpoints(sum) | S::outside_floats(sum); };

  // The lanes of one group at one partner by the extended formula: add_pair for the particles
  // in `whole`, add_term for each component whose lane is in its mask.
  const auto extended_lanes = [&](std::size_t group, std::size_t q, std::size_t partner, Mask whole,
                                  const Mask (&components)[3], const D (&before)[3], D (&after)[3]) {
    const std::size_t first = group * lanes;
    float old_x[lanes], old_y[lanes], old_z[lanes], new_x[lanes], new_y[lanes], new_z[lanes];
    S::store_floats(before[0], old_x);
    S::store_floats(before[1], old_y);
    S::store_floats(before[2], old_z);
    S::store_floats(after[0], new_x);
    S::store_floats(after[1], new_y);
    S::store_floats(after[2], new_z);
    for (std::size_t lane = 0; lane < lanes; ++lane) {
      if (!((used[group] >> lane) & 1)) continue;
      const pair_lanes::LaneResults& terms = results[first + lane];
      if ((whole >> lane) & 1) {
        Vec3 force{old_x[lane], old_y[lane], old_z[lane]};
        add_pair(force, origins[first + lane], Vec3{partners.x[partner], partners.y[partner], partners.z[partner]}, gain,
                 deg_to_rad);
        new_x[lane] = force.x;
        new_y[lane] = force.y;
        new_z[lane] = force.z;
        continue;
      }
      if ((components[0] >> lane) & 1) new_x[lane] = add_term(old_x[lane], terms.minus_dir_x[q], terms.falloff[q]);
      if ((components[1] >> lane) & 1) new_y[lane] = add_term(old_y[lane], terms.minus_dir_y[q], terms.falloff[q]);
      if ((components[2] >> lane) & 1) new_z[lane] = add_term(old_z[lane], terms.minus_dir_z[q], terms.falloff[q]);
    }
    after[0] = S::load_floats(new_x);
    after[1] = S::load_floats(new_y);
    after[2] = S::load_floats(new_z);
  };

  // One partner's terms added to the lanes of one group, each lane checked: add_pair for an
  // unproven partner, add_term for a component whose double sum the bit test marks.
  std::size_t handed_over = 0;
  const auto add_checked = [&](std::size_t group, std::size_t q, std::size_t block_first, bool all_proven) {
    Mask unproven = 0;
    if (!all_proven)
      for (std::size_t lane = 0; lane < lanes; ++lane)
        unproven |= static_cast<Mask>(~results[group * lanes + lane].proven[0] >> q & 1) << lane;
    unproven &= used[group];
    const auto& terms = terms_by_partner[group];
    // (E1) each product exact, so the multiply-add rounds as a product and a sum would: one
    // double rounding of each sum, then one to float.
    const D falloff = S::load_floats(terms[3] + q * lanes);
    const D before[3] = {fx[group], fy[group], fz[group]};
    const D sums[3] = {S::multiply_add(S::load_floats(terms[0] + q * lanes), falloff, before[0]),
                       S::multiply_add(S::load_floats(terms[1] + q * lanes), falloff, before[1]),
                       S::multiply_add(S::load_floats(terms[2] + q * lanes), falloff, before[2])};
    D after[3] = {S::round_to_float(sums[0]), S::round_to_float(sums[1]), S::round_to_float(sums[2])};
    const Mask components[3] = {S::mask_bits(suspects(sums[0])), S::mask_bits(suspects(sums[1])),
                                S::mask_bits(suspects(sums[2]))};
    if ((unproven | ((components[0] | components[1] | components[2]) & used[group])) != 0) [[unlikely]] {
      extended_lanes(group, q, block_first + q, unproven, components, before, after);
      handed_over += static_cast<std::size_t>(__builtin_popcount(unproven));
    }
    fx[group] = after[0];
    fy[group] = after[1];
    fz[group] = after[2];
  };

  // Partners begin to end, every one proven, added to the groups from `first` on without a
  // check between partners: the bit tests of every sum are gathered and looked at once, at
  // the end. Only when none marks a lane are the sums kept; otherwise the caller adds the same
  // partners again from the same start, one by one. The groups' chains are independent, so
  // in_flight of them overlap.
  constexpr std::size_t in_flight = S::groups_in_flight;
  static_assert(groups % in_flight == 0);
  const auto add_unchecked = [&](std::size_t first, std::size_t begin, std::size_t end) {
    D sum_x[in_flight], sum_y[in_flight], sum_z[in_flight];
    for (std::size_t k = 0; k < in_flight; ++k) {
      sum_x[k] = fx[first + k];
      sum_y[k] = fy[first + k];
      sum_z[k] = fz[first + k];
    }
    typename S::Marks marks;
    for (std::size_t q = begin; q < end; ++q) {
#pragma GCC unroll 8
      for (std::size_t k = 0; k < in_flight; ++k) {
        const auto& terms = terms_by_partner[first + k];
        // (E1) as in add_checked.
        const D falloff = S::load_floats(terms[3] + q * lanes);
        const D x_sum = S::multiply_add(S::load_floats(terms[0] + q * lanes), falloff, sum_x[k]);
        const D y_sum = S::multiply_add(S::load_floats(terms[1] + q * lanes), falloff, sum_y[k]);
        const D z_sum = S::multiply_add(S::load_floats(terms[2] + q * lanes), falloff, sum_z[k]);
        D rounded[3];
        marks.round(x_sum, y_sum, z_sum, rounded);
        sum_x[k] = rounded[0];
        sum_y[k] = rounded[1];
        sum_z[k] = rounded[2];
      }
    }
    if (marks.any()) return false;
    for (std::size_t k = 0; k < in_flight; ++k) {
      fx[first + k] = sum_x[k];
      fy[first + k] = sum_y[k];
      fz[first + k] = sum_z[k];
    }
    return true;
  };

  for (std::size_t block_first = 0; block_first < partners.count; block_first += partner_block) {
    const std::size_t left = partners.count - block_first, count = left < partner_block ? left : partner_block;
    const PartnerColumns block{partners.x + block_first, partners.y + block_first, partners.z + block_first, count};
    // Bit q set when every particle's term of partner q is proven (the lanes beyond `together`
    // repeat particle 0).
    std::uint64_t proven_by_all = ~std::uint64_t{0};
    for (std::size_t i = 0; i < together; ++i) {
      kernel(block, pair_lanes::LaneOrigin{origins[i].x, origins[i].y, origins[i].z, gain, deg_to_rad}, results[i]);
      proven_by_all &= results[i].proven[0];
    }
    for (std::size_t first = 0; first < groups && used[first]; first += in_flight) {
      // Each group's terms partner by partner, a lane per particle; a group beyond `together`
      // holds particle 0's.
      for (std::size_t group = first; group < first + in_flight; ++group) {
        S::transpose(results[0].minus_dir_x, offsets[group], count, terms_by_partner[group][0]);
        S::transpose(results[0].minus_dir_y, offsets[group], count, terms_by_partner[group][1]);
        S::transpose(results[0].minus_dir_z, offsets[group], count, terms_by_partner[group][2]);
        S::transpose(results[0].falloff, offsets[group], count, terms_by_partner[group][3]);
      }
      // A few partners at a time, so that a marked sum or an unproven term costs the checked
      // sums of those few only.
      for (std::size_t begin = 0; begin < count; begin += partners_unchecked) {
        const std::size_t end = begin + partners_unchecked < count ? begin + partners_unchecked : count;
        const std::uint64_t these = ((std::uint64_t{1} << (end - begin)) - 1) << begin;
        const bool all_proven = (proven_by_all & these) == these;
        if (all_proven && add_unchecked(first, begin, end)) continue;
        for (std::size_t q = begin; q < end; ++q)
          for (std::size_t group = first; group < first + in_flight; ++group)
            if (used[group]) add_checked(group, q, block_first, all_proven);
      }
    }
  }

  for (std::size_t group = 0; group < groups; ++group) {
    S::store_floats(fx[group], x + group * lanes);
    S::store_floats(fy[group], y + group * lanes);
    S::store_floats(fz[group], z + group * lanes);
  }
  for (std::size_t i = 0; i < together; ++i) forces[i] = {x[i], y[i], z[i]};
  return handed_over;
}

}  // namespace pair_sum
