#include "app/commands.h"

#include "app/startup.h"
#include "context/program.h"
#include "model/cell_table.h"
#include "model/generators.h"
#include "model/placement.h"
#include "runtime/control.h"
#include "runtime/failures.h"
#include "runtime/files/files.h"
#include "runtime/text.h"
#include "state/state_file.h"
#include "ui/grid_drawing.h"

namespace {

// Restart without saving: the start-up that follows loads the state file again.
void reload_state() { restart_program(); }

// Creates the state file empty, deletes it and restarts, so the start-up finds no file and
// writes the factory state.
void factory_reset() {
  open_file("vorka.dat", file_mode_output, 1);
  end_step();
  close_file(1);
  end_step();
  kill_files("vorka.dat");
  end_step();
  restart_program();
}

void save_and_quit() {
  save_state();
  park_program_thread();
}

// A generator's cells take effect at once: the kind tables follow them and the grid shows them.
template <void (*generate)()>
void generate_and_show() {
  generate();
  apply_cell_grid();
  draw_cell_grid();
}

struct Command {
  const char* key;
  void (*run)();
};

const Command commands[] = {
    {"t", generate_and_show<randomize_forces_t>},
    {"r", generate_and_show<randomize_forces_r>},
    {"f", generate_and_show<equalize_counts>},
    {"d", generate_and_show<randomize_counts>},
    {"q", main_restart},
    {"c", place_bigbang},
    {"m", save_state},
    {"b", reload_state},
    {"o", factory_reset},
    {"\x1b", save_and_quit},
};

}  // namespace

void dispatch_command() {
  const std::string key = lcase_string(program().key);
  for (const Command& command : commands) {
    if (strings_equal(key, command.key) == 0) continue;
    command.run();
    end_step();
    return;
  }
}

std::vector<std::string> command_keys() {
  std::vector<std::string> keys;
  for (const Command& command : commands) keys.push_back(command.key);
  return keys;
}
