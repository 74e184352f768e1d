// One whole frame on the headless host: the centre cube and the particles as cubes, crosses or
// pixels, with the view constants of start-up; projected in batches (the fast path) and one by
// one through project_point (the extended formula as it stands), side by side.
#include <benchmark/benchmark.h>

#include "app/startup.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/random.h"
#include "runtime/runtime.h"
#include "view/frame.h"
#include "view/projection_batch.h"

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
  choose_projection_path(state.range(2) == 0 ? ProjectionPath::batches : ProjectionPath::one_by_one);
  for (auto _ : state) {
    draw_frame();
    program().rot_angle_c += 0.3f;
  }
  state.SetItemsProcessed(state.iterations());
  choose_projection_path(ProjectionPath::batches);
}

// 100 particles is the factory maximum; 800 fills a kind's table. Path 0 is the batches, 1 the
// extended formula one projection at a time.
BENCHMARK(frame)->ArgNames({"particles", "shape", "path"})->ArgsProduct({{100, 800}, {0, 1, 2}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
