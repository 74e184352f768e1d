#pragma once
// The generators write the cells only; their callers apply the cell table and redraw the grid.

// Random rules. The key-r entry draws -1, 0 or +1; the key-t entry draws 0 or +1. Both set the
// range and offset, then run the shared body randomize_forces.
void randomize_forces_r();
void randomize_forces_t();
void randomize_forces();
// Random weights for the kinds in use, and the maximum particle count shared out by them.
void randomize_counts();
// The counts in use scaled to add up to the maximum particle count, rounded down.
void rescale_counts();
// Every count cell set to the maximum particle count over the number of kinds, rounded down.
void equalize_counts();
