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

void set_up(HeadlessHost& host, int particles, float shape) {
  start_runtime(host);
  reset_program();
  set_view_constants();
  auto& g = program();
  g.particle_size = 3;
  g.particle_shape = shape;
  n_kinds() = 1;
  g.color_count(0) = static_cast<float>(particles);
  g.kind_colour(0) = 10;
  for (int j = 0; j < particles; ++j)
    for (int axis = 0; axis < 3; ++axis) g.particle(0, j, axis) = rnd() * 100 - 50;
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

// 100 particles is the factory maximum; 800 fills a kind's table. Extended 0 is the lanes, 1 the
// extended formula for every point.
BENCHMARK(frame)->ArgNames({"particles", "shape", "extended"})->ArgsProduct({{100, 800}, {0, 1, 2}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
