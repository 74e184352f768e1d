// The simulation step with every rule non-zero, on one thread and on all threads, by the fast
// lanes and by the extended formula side by side, beside the operations that one extended pair
// contribution cannot do without.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compute/vector_isa.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "model/pair_batch.h"
#include "model/simulation.h"
#include "runtime/control.h"
#include "runtime/numbers.h"
#include "runtime/random.h"

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

// Arguments: kinds, particles per kind, threads (1, or 0 for all), vector set (0 none: the
// extended formula alone, 1 the scalar lanes, 2 AVX2, 3 AVX-512).
void simulation_step(benchmark::State& state) {
  const int kinds = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
  const std::vector<float> positions = full_model(kinds, count);
  set_simulation_threads(static_cast<int>(state.range(2)));
  choose_vector_isa(static_cast<VectorIsa>(state.range(3)));
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

// Every vector set this processor has, and the extended formula, on one thread and on all.
void sizes_and_sets(benchmark::internal::Benchmark* step, int kinds, int count, bool extended_on_one_thread) {
  for (int isa = static_cast<int>(best_vector_isa()); isa >= 0; --isa)
    for (const int threads : {1, 0})
      if (isa != 0 || threads != 1 || extended_on_one_thread) step->Args({kinds, count, threads, isa});
}

// 3 x 33 is the factory size; 5 x 200 and 5 x 600 are 1,000 and 3,000 particles, and 20 x 500
// the 10,000 particles of the largest grid model, whose extended step on one thread would take
// half a minute (its cost per pair is the one at 5 x 600). The per-pair figure on one thread
// compares the formulas' cost of a pair contribution.
BENCHMARK(simulation_step)
    ->ArgNames({"kinds", "count", "threads", "isa"})
    ->Apply([](benchmark::internal::Benchmark* step) {
      sizes_and_sets(step, 3, 33, true);
      sizes_and_sets(step, 5, 200, true);
      sizes_and_sets(step, 5, 600, true);
      sizes_and_sets(step, 20, 500, false);
    })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The share of pair contributions that the fast lanes of the widest set leave to the extended
// formula, on the model after a number of steps (the swarm gathers), as "extended_share".
// Arguments: kinds, particles per kind, steps.
void extended_share(benchmark::State& state) {
  const int kinds = static_cast<int>(state.range(0)), count = static_cast<int>(state.range(1));
  full_model(kinds, count);
  for (int step = 0; step < state.range(2); ++step) simulate_step();
  auto& g = program();
  std::vector<std::vector<float>> columns(static_cast<std::size_t>(kinds) * 3);
  for (int k = 0; k < kinds; ++k)
    for (int axis = 0; axis < 3; ++axis) {
      std::vector<float>& column = columns[static_cast<std::size_t>(k * 3 + axis)];
      for (int j = 0; j < count; ++j) column.push_back(g.particle.unchecked(k, j, axis));
      column.resize(padded_partners(column.size()));
    }
  double handed_over = 0, pairs = 0;
  for (auto _ : state) {
    for (int k = 0; k < kinds; ++k)
      for (int first = 0; first < count; first += static_cast<int>(origins_together)) {
        const std::size_t together = std::min(origins_together, static_cast<std::size_t>(count - first));
        Vec3 origins[origins_together], forces[origins_together] = {};
        for (std::size_t i = 0; i < together; ++i) {
          const int j = first + static_cast<int>(i);
          origins[i] = {g.particle.unchecked(k, j, 0), g.particle.unchecked(k, j, 1), g.particle.unchecked(k, j, 2)};
        }
        for (int t = 0; t < kinds; ++t) {
          const std::size_t c = static_cast<std::size_t>(t * 3);
          const PartnerColumns partners{columns[c].data(), columns[c + 1].data(), columns[c + 2].data(),
                                        static_cast<std::size_t>(count)};
          handed_over += static_cast<double>(
              add_partners_together(forces, origins, together, partners, (k + t) % 2 == 0 ? 1 : -1, g.deg_to_rad));
          pairs += static_cast<double>(together) * count;
        }
      }
  }
  state.counters["extended_share"] = handed_over / pairs;
}
BENCHMARK(extended_share)
    ->ArgNames({"kinds", "count", "steps"})
    ->ArgsProduct({{5}, {200}, {0, 20}})
    ->ArgsProduct({{20}, {500}, {0, 5}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

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
