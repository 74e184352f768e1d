// Costs of the state file: "m" and Esc write all 17,018 lines inside one pass of the main loop,
// and every start reads them back.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/runtime.h"
#include "state/state_file.h"

namespace {

// A folder of its own, current while the benchmark runs.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "swarm-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~BenchFolder() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(path_);
  }

 private:
  std::filesystem::path path_, previous_;
};

// A model with whole and fractional values in every cell, as a run leaves it.
void fill_model() {
  auto& g = program();
  for (int row = 0; row <= 1700; ++row)
    for (int field = 0; field <= 9; ++field) g.model_table(row, field) = static_cast<float>((row * 7 + field) % 600) / 4;
  n_kinds() = 3;
}

void save_whole_state(benchmark::State& state) {
  BenchFolder folder;
  HeadlessHost host;
  start_runtime(host);
  reset_program();
  fill_model();
  for (auto _ : state) save_state();
}

void load_whole_state(benchmark::State& state) {
  BenchFolder folder;
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
