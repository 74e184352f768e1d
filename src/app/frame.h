#pragma once

// Swaps the pages and draws one whole frame on the page not shown.
void draw_frame();
