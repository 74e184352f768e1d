#pragma once

// Writes the model and the eight saved parameters to "vorka.dat".
void save_state();
// Reads them back and applies the cell table; a file that cannot be opened leads to
// handle_missing_state instead.
void load_state();
// Builds the factory state, saves it and restarts the program. When the save fails, it returns
// instead, with the factory state applied as load_state would leave it: start-up goes on from
// there (run_program_after_load).
void handle_missing_state();
