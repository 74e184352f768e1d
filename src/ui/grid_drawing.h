#pragma once

// The two yellow lines along the top and right edges of the cell grid area.
void draw_grid_border();
// Finds the hovered cell and draws the grid with its help line.
void draw_cell_grid();
// Applies a click to the hovered cell: left -1, right +1, clamped to its limits.
void edit_hovered_cell();
