#pragma once

// Rotation drag, menu click and panel-row edits, in a pass in which new mouse input arrived.
void handle_mouse();
