#pragma once

// Shows the command menu at the right while Shift is held or the pointer is there, and records
// the entry under the pointer.
void draw_menu();
