// The pair kernels alone, each vector set this processor has in one run: the time per pair, and
// the share of pairs they leave to the extended formula, on partners scattered in the cube and
// on the 10,000-particle model (20 kinds of 500, every rule set) after it has run a while.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "compute/vector_isa.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "model/pair_kernels.h"
#include "model/simulation.h"
#include "runtime/control.h"
#include "runtime/random.h"

namespace {

HeadlessHost host;

constexpr float deg_to_rad = 0.0174532924f;

// The particles of every kind, one column per coordinate each, padded.
struct Kinds {
  std::vector<std::vector<float>> x, y, z;
  void add_kind() {
    x.emplace_back();
    y.emplace_back();
    z.emplace_back();
  }
  PartnerColumns partners(std::size_t kind) {
    const std::size_t count = x[kind].size();
    for (auto* axis : {&x[kind], &y[kind], &z[kind]}) axis->resize(padded_partners(count));
    return {x[kind].data(), y[kind].data(), z[kind].data(), count};
  }
};

Kinds scattered(int kinds, int count) {
  start_runtime(host);
  reset_program();
  Kinds k;
  for (int kind = 0; kind < kinds; ++kind) {
    k.add_kind();
    for (int j = 0; j < count; ++j) {
      k.x.back().push_back(rnd() * 100 - 50);
      k.y.back().push_back(rnd() * 100 - 50);
      k.z.back().push_back(rnd() * 100 - 50);
    }
  }
  return k;
}

// 20 kinds of 500, every kind chasing or fleeing every kind, with the central pull, after some
// steps of the program's own simulation.
Kinds large_model_after_steps(int steps) {
  constexpr int kinds = 20, count = 500;
  start_runtime(host);
  reset_program();
  auto& g = program();
  g.deg_to_rad = deg_to_rad;
  g.step_size = 50;
  g.central_attraction = 50;
  n_kinds() = kinds;
  for (int k = 0; k < kinds; ++k) {
    g.color_count(k) = count;
    for (int t = 0; t < kinds; ++t) g.kind_rules(k) += std::string((k + t) % 2 == 0 ? "+" : "-") + "1" + std::to_string(t);
    for (int j = 0; j < count; ++j)
      for (int axis = 0; axis < 3; ++axis) g.particle(k, j, axis) = rnd() * 100 - 50;
  }
  set_simulation_threads(0);
  for (int step = 0; step < steps; ++step) simulate_step();
  Kinds result;
  for (int k = 0; k < kinds; ++k) {
    result.add_kind();
    for (int j = 0; j < count; ++j) {
      result.x.back().push_back(g.particle(k, j, 0));
      result.y.back().push_back(g.particle(k, j, 1));
      result.z.back().push_back(g.particle(k, j, 2));
    }
  }
  return result;
}

// The partners below count whose bit is clear; the kernels also set the bits of the padding.
std::size_t unproven(const pair_lanes::LaneResults& results, std::size_t count) {
  std::size_t proven = 0;
  for (std::size_t word = 0; word * 64 < count; ++word) {
    const std::size_t bits_here = count - word * 64 < 64 ? count - word * 64 : 64;
    const std::uint64_t below_count = bits_here == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits_here) - 1;
    proven += static_cast<std::size_t>(std::popcount(results.proven[word] & below_count));
  }
  return count - proven;
}

// Every particle of every kind against every kind, gain 1 or -1 by the kinds' parities.
void run_kernel(benchmark::State& state, Kinds kinds) {
  const int isa = static_cast<int>(state.range(0));
  if (isa > static_cast<int>(best_vector_isa())) return state.SkipWithError("this processor lacks the set");
  const pair_lanes::Kernel kernel = pair_lanes::kernels[isa];
  std::vector<PartnerColumns> partners;
  for (std::size_t k = 0; k < kinds.x.size(); ++k) partners.push_back(kinds.partners(k));
  pair_lanes::LaneResults results;
  std::size_t pairs = 0, left = 0;
  for (auto _ : state) {
    for (std::size_t k = 0; k < partners.size(); ++k)
      for (std::size_t j = 0; j < partners[k].count; ++j) {
        for (std::size_t t = 0; t < partners.size(); ++t) {
          const float gain = (k + t) % 2 == 0 ? 1 : -1;
          kernel(partners[t], {partners[k].x[j], partners[k].y[j], partners[k].z[j], gain, deg_to_rad}, results);
          left += unproven(results, partners[t].count);
          pairs += partners[t].count;
        }
      }
  }
  state.counters["per_pair"] =
      benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["fallback_percent"] = 100.0 * static_cast<double>(left) / static_cast<double>(pairs);
}

// Argument: the vector set (1 scalar, 2 AVX2, 3 AVX-512).
void scattered_partners(benchmark::State& state) { run_kernel(state, scattered(5, 600)); }
BENCHMARK(scattered_partners)->ArgName("isa")->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

void model_of_10000(benchmark::State& state) {
  static const Kinds model = large_model_after_steps(20);
  run_kernel(state, model);
}
BENCHMARK(model_of_10000)->ArgName("isa")->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
