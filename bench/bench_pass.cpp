// Whole passes of the main loop on the headless host, the program running on its own thread as
// in the tests: grid, menu, mouse, frame, step and command, at four sizes of model. The state
// comes from a state file written into the run's folder before the start, as a user's saved
// model would.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "context/program.h"
#include "support/program_run.h"

namespace {

constexpr int values_per_row = 10;
constexpr int value_field = 2;
constexpr int colour_row = 0;
constexpr int count_row = 40;
constexpr int kinds_row = 1700;
constexpr int rule_row(int from_kind, int to_kind) { return 80 + 40 * from_kind + to_kind; }
constexpr int max_particles_line_from_end = 2;

struct Model {
  int kinds;
  int max_particles;
  bool every_rule_set;  // kinds chase their own kind and flee the others
  bool random_rules;    // the program's own random rules, key "r", after the start
};

std::string number_line(int value) { return (value < 0 ? "" : " ") + std::to_string(value) + " "; }

// The factory file the program writes into an empty folder, changed to the model: equal counts
// of 5 that the first pass rescales to max_particles / kinds each.
void write_state_file(ProgramRun& run, const Model& model) {
  std::vector<std::string> lines = run.folder.lines("vorka.dat");
  auto value = [&](int row) -> std::string& { return lines[row * values_per_row + value_field]; };
  value(kinds_row) = number_line(model.kinds);
  for (int kind = 0; kind < model.kinds; ++kind) {
    value(colour_row + kind) = number_line(1 + kind % 15);
    value(count_row + kind) = number_line(5);
    if (model.every_rule_set)
      for (int target = 0; target < model.kinds; ++target)
        value(rule_row(kind, target)) = number_line(kind == target ? -1 : 1);
  }
  lines[lines.size() - max_particles_line_from_end] = number_line(model.max_particles);
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  run.folder.write("vorka.dat", bytes);
}

// The model the run holds after its first passes: a start that fell back on another state file
// (the factory one) would be timed under this model's name.
bool runs_the_model(const Model& model) {
  auto& g = program();
  const auto value = [&](int row) { return g.model_table(row, value_field); };
  if (value(kinds_row) != model.kinds || g.max_particles != model.max_particles) return false;
  for (int kind = 0; kind < model.kinds; ++kind) {
    if (g.color_count(kind) != model.max_particles / model.kinds) return false;
    if (model.every_rule_set)
      for (int target = 0; target < model.kinds; ++target)
        if (value(rule_row(kind, target)) != (kind == target ? -1 : 1)) return false;
  }
  return true;
}

void pass(benchmark::State& state, Model model) {
  constexpr int passes_per_iteration = 10;
  ProgramRun run;
  if (model.kinds != 3 || model.max_particles != 100 || model.every_rule_set || model.random_rules) {
    // The first start writes the factory file; the second loads the model made from it.
    if (!run.start() || !run.stop()) return state.SkipWithError("the factory start did not run");
    write_state_file(run, model);
  }
  if (!run.start()) return state.SkipWithError("the program did not start");
  if (model.random_rules && !run.run_key('r')) return state.SkipWithError("the key r did not run");
  // The first passes rescale the counts and let the swarm leave its start-up scatter.
  if (!run.run_frames(20)) return state.SkipWithError("the program ended");
  if (!runs_the_model(model)) return state.SkipWithError("the program runs another model");
  for (auto _ : state)
    if (!run.run_frames(passes_per_iteration)) return state.SkipWithError("the program ended");
  state.SetItemsProcessed(state.iterations() * passes_per_iteration);
  state.SetLabel("items_per_second = passes per second");
}

BENCHMARK_CAPTURE(pass, factory_state, Model{3, 100, false, false})->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pass, kinds_3_of_333_every_rule_cubes, Model{3, 999, true, false})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pass, kinds_20_of_500_every_rule_cubes, Model{20, 10000, true, false})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(pass, kinds_10_of_100_random_rules, Model{10, 1000, false, true})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
