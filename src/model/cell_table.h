#pragma once

// Derives the kind tables (colour, count, rule string) and the particle total from the cells.
void apply_cell_grid();
