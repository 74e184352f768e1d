// The summation of the forces alone, each vector set this processor has in one run: sixteen
// particles and the 500 partners of one kind, with a kernel that leaves in place the terms the
// set's own kernel gave once, so the time is the transposes and the double lanes' sums.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "compute/vector_isa.h"
#include "model/pair_sums.h"

namespace {

constexpr float deg_to_rad = 0.0174532924f;
constexpr std::size_t partner_count = 500;

// The terms stay where the real kernel wrote them, for the first block of partners; the
// summation reads each block's terms from the same place.
void terms_in_place(const PartnerColumns&, const pair_lanes::LaneOrigin&, pair_lanes::LaneResults&) {}

// Argument: the vector set (1 scalar, 2 AVX2, 3 AVX-512).
void summation(benchmark::State& state) {
  const int isa = static_cast<int>(state.range(0));
  if (isa > static_cast<int>(best_vector_isa())) return state.SkipWithError("this processor lacks the set");
  std::mt19937 generator(1);
  std::uniform_real_distribution<float> in_cube(-50, 50);
  const auto rnd_coordinate = [&] { return in_cube(generator); };
  std::vector<float> x, y, z;
  for (std::size_t q = 0; q < padded_partners(partner_count); ++q) {
    x.push_back(rnd_coordinate());
    y.push_back(rnd_coordinate());
    z.push_back(rnd_coordinate());
  }
  const PartnerColumns partners{x.data(), y.data(), z.data(), partner_count};
  static pair_lanes::LaneResults results[origins_together];
  Vec3 origins[origins_together];
  for (std::size_t i = 0; i < origins_together; ++i) {
    // An origin whose first block the kernel proves whole, so that the time is the lanes' own.
    do {
      origins[i] = {rnd_coordinate(), rnd_coordinate(), rnd_coordinate()};
      pair_lanes::kernels[isa](partners, {origins[i].x, origins[i].y, origins[i].z, 1, deg_to_rad}, results[i]);
    } while (results[i].proven[0] != ~std::uint64_t{0});
  }
  std::size_t handed_over = 0;
  for (auto _ : state) {
    Vec3 forces[origins_together] = {};
    handed_over += pair_sum::summations[isa](forces, origins, origins_together, partners, 1, deg_to_rad, terms_in_place, results);
    benchmark::DoNotOptimize(forces);
  }
  state.counters["per_pair"] =
      benchmark::Counter(static_cast<double>(state.iterations() * origins_together * partner_count),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["handed_over"] = static_cast<double>(handed_over);
}
BENCHMARK(summation)->ArgName("isa")->DenseRange(1, 3);

}  // namespace

BENCHMARK_MAIN();
