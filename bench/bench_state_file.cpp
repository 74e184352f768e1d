// Costs of the state file: "m" and Esc write all 17,018 lines inside one pass of the main loop,
// and every start reads them back.
#include <benchmark/benchmark.h>

#include <string>

#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/control.h"
#include "state/state_file.h"
#include "support/temporary_folder.h"

namespace {

// A model with whole and fractional values in every cell, as a run leaves it.
void fill_model() {
  auto& g = program();
  for (int row = 0; row <= 1700; ++row)
    for (int field = 0; field <= 9; ++field) g.model_table(row, field) = static_cast<float>((row * 7 + field) % 600) / 4;
  n_kinds() = 3;
}

void save_whole_state(benchmark::State& state) {
  TemporaryFolder folder;
  HeadlessHost host;
  start_runtime(host);
  reset_program();
  fill_model();
  for (auto _ : state) save_state();
}

void load_whole_state(benchmark::State& state) {
  TemporaryFolder folder;
  HeadlessHost host;
  start_runtime(host);
  reset_program();
  fill_model();
  save_state();
  for (auto _ : state) load_state();
}

}  // namespace

BENCHMARK(save_whole_state)->Unit(benchmark::kMillisecond);
BENCHMARK(load_whole_state)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
