#pragma once

// Swaps the pages and draws one whole frame on the page not shown.
void draw_frame();
// The two yellow lines along the top and right edges of the cell grid area.
void draw_grid_border();
