#pragma once

// Positions, limits, visibility and help texts of every cell; factory values on a fresh setup.
void build_cell_grid();
