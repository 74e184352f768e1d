#pragma once

// Writes the model and the eight saved parameters to "vorka.dat".
void save_state();
// Reads them back and applies the cell table; a file that cannot be opened leads to
// handle_missing_state instead.
void load_state();
// Builds the factory state, saves it and restarts the program.
[[noreturn]] void handle_missing_state();
