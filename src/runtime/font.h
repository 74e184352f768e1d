#pragma once

// The 8x16 glyphs of code page 437, one byte per pixel row, the leftmost pixel in the high bit.
extern const unsigned char font_glyphs[256][16];
