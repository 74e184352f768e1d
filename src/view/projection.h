#pragma once

// Projects proj_x, proj_y, proj_z to screen_x, screen_y; takes one mouse event; sets clipped.
void project_point();
// Turns proj_x, proj_y, proj_z by the two view angles.
void rotate_view();
