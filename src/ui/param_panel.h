#pragma once

// Records the pointer's text row and draws the nine run parameters at the top left.
void draw_param_panel();
// Applies a click to the parameter row recorded by the last drawn panel.
void edit_panel_row();
