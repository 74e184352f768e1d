#pragma once

// One pass of the main loop: grid, counts, menu, mouse, key, rotation, frame, step, command.
void main_loop_pass();
