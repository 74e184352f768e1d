// Loads a state file of arbitrary bytes and lays out the grid from it, on the headless host
// with the error report answered Yes a bounded number of times and then No. Nothing may crash,
// touch memory outside a table, leak or hang.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/program.h"
#include "model/cell_table.h"
#include "platform/control.h"
#include "platform/headless_host.h"
#include "platform/runtime.h"
#include "state/state_file.h"
#include "ui/grid_layout.h"
#include "ui/text_tables.h"

namespace {

constexpr int yes_answers = 40;

const std::string& scratch_folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/load_state_fuzzer.XXXXXX";
    return std::string(mkdtemp(name));
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (chdir(scratch_folder().c_str()) != 0) return 0;
  std::FILE* file = std::fopen("vorka.dat", "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  HeadlessHost host;
  host.report_answers.assign(yes_answers, true);
  start_runtime(host);
  reset_program();
  init_tables();
  auto& g = program();
  g.cell_w = 4;
  g.cell_h = 1;
  try {
    load_state();
    g.fresh_setup = 0;
    build_cell_grid();
    end_step();
    apply_cell_grid();
    end_step();
  } catch (const ProgramEnd&) {
  }
  return 0;
}
