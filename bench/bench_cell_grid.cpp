// Costs of the cell grid: the drawing runs at least twice in every pass while the grid is
// shown, the layout once after every click on a cell.
#include <benchmark/benchmark.h>

#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/control.h"
#include "runtime/mouse.h"
#include "runtime/screen.h"
#include "ui/grid_drawing.h"
#include "ui/grid_layout.h"
#include "ui/text_tables.h"

namespace {

// A laid-out grid of the given number of kinds, the pointer over kind 0's count cell.
void start_grid(HeadlessHost& host, int kinds) {
  start_runtime(host);
  reset_program();
  set_screen_mode(12, 0, 1, 13);
  init_tables();
  auto& g = program();
  g.cell_w = 4;
  g.cell_h = 1;
  g.panel_shown = 1;
  for (int j = 0; j < 40; ++j) {
    g.model_table(j, 2) = static_cast<float>(j % 15 + 1);
    g.model_table(40 + j, 2) = 5;
  }
  n_kinds() = static_cast<float>(kinds);
  build_cell_grid();
  queue_mouse_move(40, 16 * (26 - kinds));
  mouse_input();
}

void draw_grid(benchmark::State& state) {
  HeadlessHost host;
  start_grid(host, static_cast<int>(state.range(0)));
  for (auto _ : state) draw_cell_grid();
}
BENCHMARK(draw_grid)->Arg(3)->Arg(19);

void build_grid(benchmark::State& state) {
  HeadlessHost host;
  start_grid(host, static_cast<int>(state.range(0)));
  for (auto _ : state) build_cell_grid();
}
BENCHMARK(build_grid)->Arg(3)->Arg(19);

}  // namespace

BENCHMARK_MAIN();
