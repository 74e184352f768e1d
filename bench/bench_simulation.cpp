// The simulation step with every rule non-zero, on one thread and on all threads, by the fast
// lanes and by the extended formula side by side, beside the operations that one extended pair
// contribution cannot do without.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "compute/vector_isa.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "model/simulation.h"
#include "runtime/numbers.h"
#include "runtime/random.h"
#include "runtime/runtime.h"

namespace {

HeadlessHost host;

// kinds kinds of count particles each, every kind chasing or fleeing every kind, scattered in
// the cube; returns the positions so that every step can start from them.
std::vector<float> full_model(int kinds, int count) {
  start_runtime(host);
  reset_program();
  auto& g = program();
  g.deg_to_rad = 0.0174532924f;
  g.step_size = 50;
  g.central_attraction = 50;
  n_kinds() = static_cast<float>(kinds);
  std::vector<float> positions;
  for (int k = 0; k < kinds; ++k) {
    g.color_count(k) = static_cast<float>(count);
    for (int t = 0; t < kinds; ++t) g.kind_rules(k) += std::string((k + t) % 2 == 0 ? "+" : "-") + "1" + std::to_string(t);
    for (int j = 0; j < count; ++j)
      for (int axis = 0; axis < 3; ++axis) positions.push_back(g.particle(k, j, axis) = rnd() * 100 - 50);
  }
  return positions;
}

void restore(const std::vector<float>& positions, int kinds, int count) {
  auto& g = program();
  std::size_t next = 0;
  for (int k = 0; k < kinds; ++k)
    for (int j = 0; j < count; ++j)
      for (int axis = 0; axis < 3; ++axis) g.particle.unchecked(k, j, axis) = positions[next++];
}

// Arguments: kinds, particles per kind, threads (1, or 0 for all), formulas (0 the fast lanes of
// the widest vector set, 1 the extended formula alone: the set that proves nothing).
void simulation_step(benchmark::State& state) {
  const int kinds = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
  const std::vector<float> positions = full_model(kinds, count);
  set_simulation_threads(static_cast<int>(state.range(2)));
  choose_vector_isa(state.range(3) == 0 ? best_vector_isa() : VectorIsa::none);
  for (auto _ : state) {
    restore(positions, kinds, count);
    simulate_step();
  }
  const double live = static_cast<double>(kinds) * count;
  state.counters["live"] = live;
  state.counters["per_pair"] = benchmark::Counter(live * live * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  set_simulation_threads(0);
  choose_vector_isa(best_vector_isa());
}
// 3 x 33 is the factory size; 5 x 200 and 5 x 600 are 1,000 and 3,000 particles. The per-pair
// figure on one thread compares the two formulas' cost of a pair contribution.
BENCHMARK(simulation_step)
    ->ArgNames({"kinds", "count", "threads", "extended"})
    ->ArgsProduct({{3}, {33}, {1, 0}, {0, 1}})
    ->ArgsProduct({{5}, {200, 600}, {1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Three extended-precision arc tangents, three sines of single arguments taken in double and two
// square roots: what one pair contribution costs at the least.
void unavoidable_per_pair(benchmark::State& state) {
  constexpr std::size_t samples = 1024;
  std::vector<float> ratios, angles, distances;
  std::vector<double> square_sums;
  for (std::size_t i = 0; i < samples; ++i) {
    const float a = rnd() * 100 - 50, b = rnd() * 100 - 50;
    ratios.push_back(static_cast<float>((a + 1E-7) / (b + 1E-7)));
    angles.push_back(1.5707964f + rnd() * 6.2831855f);
    square_sums.push_back(static_cast<double>(a) * a + static_cast<double>(b) * b);
    distances.push_back(rnd() * 150);
  }
  std::size_t i = 0;
  for (auto _ : state) {
    for (int axis = 0; axis < 3; ++axis) {
      const std::size_t k = (i + static_cast<std::size_t>(axis) * 341) % samples;
      benchmark::DoNotOptimize(atn_single(ratios[k]));
      benchmark::DoNotOptimize(sin_single(angles[k]));
    }
    benchmark::DoNotOptimize(sqr(square_sums[i]));
    benchmark::DoNotOptimize(sqr(static_cast<double>(distances[i])));
    i = (i + 1) % samples;
  }
  state.counters["per_pair"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(unavoidable_per_pair);

}  // namespace

BENCHMARK_MAIN();
