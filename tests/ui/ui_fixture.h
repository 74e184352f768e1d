#pragma once
// A fresh program on the graphics screen with the text tables filled (its page is dumped when a
// test fails), a pointer that queues mouse events and makes the last one current, and a reader
// for text printed on the page in a given colour.
#include <algorithm>
#include <cstdint>
#include <string>

#include "runtime/font.h"
#include "runtime/mouse.h"
#include "runtime/screen.h"
#include "support/page_dump.h"
#include "ui/text_tables.h"

class UiFixture : public FreshPixelProgram {
 protected:
  void SetUp() override {
    FreshPixelProgram::SetUp();
    set_screen_mode(graphics_mode, 0, 1, 13);
    init_tables();
  }

  // The pointer at (x, y) with the given buttons held; the event is the current one.
  static void pointer(int x, int y, std::uint16_t buttons = 0) {
    queue_mouse_move(x, y);
    mouse_input();
    mouse_input();
    for (std::uint16_t bit : {mouse_bit_left, mouse_bit_right}) {
      const bool down = (buttons & bit) != 0;
      if (down == (mouse_button(bit == mouse_bit_left ? 1 : 2) != 0)) continue;
      queue_mouse_button(bit, down, x, y);
      mouse_input();
    }
  }

  // The text in the 1-based row from the 1-based column: each cell is read as the printable
  // glyph whose set pixels are exactly the pixels of the colour; "?" for no such glyph.
  static std::string text_at(int row, int column, int length, int colour) {
    std::string text;
    const Page& page = drawing_page();
    for (int cell = column - 1; cell < column - 1 + length; ++cell) {
      unsigned char bits[16];
      for (int y = 0; y < 16; ++y) {
        bits[y] = 0;
        for (int x = 0; x < 8; ++x)
          if (page.pixel(8 * cell + x, 16 * (row - 1) + y) == colour) bits[y] |= static_cast<unsigned char>(0x80 >> x);
      }
      char found = '?';
      for (int code : {32, 27, 219}) {
        if (std::equal(bits, bits + 16, font_glyphs[code])) found = static_cast<char>(code);
      }
      for (int code = 33; code < 127 && found == '?'; ++code)
        if (std::equal(bits, bits + 16, font_glyphs[code])) found = static_cast<char>(code);
      text += found;
    }
    return text;
  }
};
