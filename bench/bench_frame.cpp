// One whole frame on the headless host: the centre cube and the particles as cubes, crosses or
// pixels, with the view constants of start-up; projected by the lanes of the widest vector set
// (the fast path) and by the extended formula alone (the set that proves nothing), side by side.
#include <benchmark/benchmark.h>

#include "app/frame.h"
#include "app/startup.h"
#include "compute/vector_isa.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/control.h"
#include "runtime/random.h"

namespace {

constexpr int particles_per_kind = 500;

void set_up(HeadlessHost& host, int particles, float shape) {
  start_runtime(host);
  reset_program();
  set_view_constants();
  auto& g = program();
  g.particle_size = 3;
  g.particle_shape = shape;
  // Kinds of at most 500 particles, as many as the count needs, of equal counts.
  const int kinds = (particles + particles_per_kind - 1) / particles_per_kind;
  n_kinds() = static_cast<float>(kinds);
  for (int kind = 0; kind < kinds; ++kind) {
    const int count = particles / kinds;
    g.color_count(kind) = static_cast<float>(count);
    g.kind_colour(kind) = static_cast<float>(1 + kind % 15);
    for (int j = 0; j < count; ++j)
      for (int axis = 0; axis < 3; ++axis) g.particle(kind, j, axis) = rnd() * 100 - 50;
  }
}

void frame(benchmark::State& state) {
  HeadlessHost host;
  set_up(host, static_cast<int>(state.range(0)), static_cast<float>(state.range(1)));
  choose_vector_isa(state.range(2) == 0 ? best_vector_isa() : VectorIsa::none);
  for (auto _ : state) {
    draw_frame();
    program().rot_angle_c += 0.3f;
  }
  state.SetItemsProcessed(state.iterations());
  choose_vector_isa(best_vector_isa());
}

// 100 particles is the factory maximum; 800 fills two kinds of 400; 10,000 is the largest model,
// in 20 kinds of 500. Extended 0 is the lanes, 1 the extended formula for every point.
BENCHMARK(frame)->ArgNames({"particles", "shape", "extended"})->ArgsProduct({{100, 800, 10000}, {0, 1, 2}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
