#pragma once
// Reads printed text back from a page's pixels: each cell is matched against the font's glyphs,
// a pixel counting as set when it differs from the given background colour.
#include <string>

#include "runtime/font.h"
#include "runtime/screen.h"

inline bool cell_matches_glyph(const Page& page, int row, int column, int code, int background) {
  const int left = (column - 1) * cell_width, top = (row - 1) * cell_height;
  for (int y = 0; y < cell_height; ++y)
    for (int x = 0; x < cell_width; ++x) {
      const bool set = (font_glyphs[code][y] & (0x80u >> x)) != 0;
      if (set != (page.pixel(left + x, top + y) != background)) return false;
    }
  return true;
}

// The text of `length` cells from (row, column); a cell that shows no glyph reads as '?'.
// Printable bytes 32-126 are tried first, so a blank reads as ' '.
inline std::string text_at(const Page& page, int row, int column, int length, int background = 0) {
  std::string text;
  for (int c = column; c < column + length; ++c) {
    int found = '?';
    for (int i = 0; i < 256; ++i) {
      const int code = (32 + i) % 256;
      if (cell_matches_glyph(page, row, c, code, background)) {
        found = code;
        break;
      }
    }
    text += static_cast<char>(found);
  }
  return text;
}
