#pragma once
// The screen's state: the mode and its pages of 640 x 480 (or 640 x 400) pixels in colours
// 0-15, with each page's colours and text cursor.
#include <cstdint>
#include <memory>
#include <vector>

constexpr int screen_width = 640;
constexpr int graphics_height = 480;
constexpr int text_mode_height = 400;
constexpr int text_mode = 0;
constexpr int graphics_mode = 12;
constexpr int cell_width = 8, cell_height = 16;
constexpr int text_columns = 80;

struct Page {
  int width = screen_width, height = graphics_height;
  std::vector<std::uint8_t> pixels;  // one colour number per pixel, row by row
  int foreground = 15, background = 0;
  int cursor_row = 1, cursor_column = 1;  // 1-based text cell
  bool line_end_pending = false;
  std::uint8_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint8_t& pixel(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  bool contains(std::int64_t x, std::int64_t y) const { return x >= 0 && x < width && y >= 0 && y < height; }
  // Text rows: 30 in mode 12, 25 in the text mode. The print area is every row but the last,
  // which the cursor can reach but which never scrolls.
  int text_rows() const { return height / cell_height; }
  int print_area_bottom() const { return text_rows() - 1; }
};

struct ScreenState {
  int mode = text_mode;
  std::vector<std::unique_ptr<Page>> pages;
  int drawing_page = 0, shown_page = 0;
  float last_x = 0, last_y = 0;  // the last point drawn
};
