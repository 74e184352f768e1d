// Text on the drawing page: colours, the text cursor, printing with its placement rules and the
// scroll of the print area, and the 14-column print zones.
#include <algorithm>
#include <cstring>

#include "runtime/font.h"
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

namespace {

constexpr int zone_width = 14;

// Moves the text rows 2 to the print area's bottom row up by one text row and fills that row
// with the background; the row below the print area stays as it is.
void scroll_print_area(Page& page) {
  const std::size_t row_bytes = static_cast<std::size_t>(page.width) * cell_height;
  const int bottom = page.print_area_bottom();
  std::uint8_t* first_row = page.pixels.data();
  std::memmove(first_row, first_row + row_bytes, row_bytes * (bottom - 1));
  std::fill_n(first_row + row_bytes * (bottom - 1), row_bytes, static_cast<std::uint8_t>(page.background & 15));
}

void new_line(Page& page) {
  page.cursor_column = 1;
  if (page.cursor_row + 1 > page.print_area_bottom()) {
    scroll_print_area(page);
    page.cursor_row = page.print_area_bottom();
  } else {
    ++page.cursor_row;
  }
}

void draw_glyph(Page& page, unsigned char code) {
  const std::uint8_t foreground = page.foreground & 15, background = page.background & 15;
  const int left = (page.cursor_column - 1) * cell_width, top = (page.cursor_row - 1) * cell_height;
  for (int row = 0; row < cell_height; ++row) {
    const unsigned bits = font_glyphs[code][row];
    std::uint8_t* out = &page.pixel(left, top + row);
    for (int column = 0; column < cell_width; ++column)
      out[column] = (bits & (0x80u >> column)) != 0 ? foreground : background;
  }
}

bool is_zone_stop(int column) {
  const bool zone_start = (column - 1) % zone_width == 0 && column <= text_columns - zone_width + 1;
  return zone_start || column == text_columns;
}

}  // namespace

void set_color(int foreground, int background, int given) {
  if (failure_pending()) return;
  const bool foreground_given = (given & 1) != 0, background_given = (given & 2) != 0;
  if (runtime().screen.mode == graphics_mode && ((foreground_given && foreground > 15) || (background_given && background > 15))) {
    raise_error(error_illegal_function_call);
    return;
  }
  Page& page = drawing_page();
  if (foreground_given) page.foreground = foreground;
  if (background_given) page.background = background;
}

void set_text_cursor(int row, int column, int given) {
  if (failure_pending()) return;
  Page& page = drawing_page();
  const bool row_given = (given & 1) != 0, column_given = (given & 2) != 0;
  const bool row_valid = row >= 1 && (row <= page.print_area_bottom() || row == page.text_rows());
  const bool column_valid = column >= 1 && column <= text_columns;
  if ((row_given && !row_valid) || (column_given && !column_valid)) {
    raise_error(error_illegal_function_call);
    return;
  }
  if (row_given) page.cursor_row = row;
  if (column_given) page.cursor_column = column;
  if (row_given || column_given) page.line_end_pending = false;
}

// Runs also while a failure is pending: the print it belongs to still moves to its new line.
void print_fit_check(const std::string& item) {
  Page& page = drawing_page();
  if (page.line_end_pending) return;
  if (page.cursor_column != 1 && static_cast<std::size_t>(page.cursor_column - 1) + item.size() > text_columns) {
    new_line(page);
    drawing_page_changed();
  }
}

void print_item(const std::string& item, bool line_end) {
  print_fit_check(item);
  print_text(item, line_end);
}

void print_text(const std::string& text, bool line_end) {
  if (failure_pending()) return;
  Page& page = drawing_page();
  if (page.line_end_pending) {
    if (text.empty() && !line_end) return;
    page.line_end_pending = false;
    new_line(page);
    if (text.empty()) {
      drawing_page_changed();
      return;
    }
  }
  bool line_made = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    draw_glyph(page, static_cast<unsigned char>(text[i]));
    line_made = false;
    if (page.cursor_column < text_columns) {
      ++page.cursor_column;
    } else if (i + 1 < text.size() || line_end) {
      new_line(page);
      line_made = true;
    } else {
      page.line_end_pending = true;
    }
  }
  if (line_end && !line_made) new_line(page);
  drawing_page_changed();
}

// While a failure is pending this does nothing, like the blanks it would print.
void print_comma_tab() {
  if (failure_pending()) return;
  Page& page = drawing_page();
  if (page.line_end_pending) {
    page.line_end_pending = false;
    new_line(page);
    drawing_page_changed();
    return;
  }
  do print_text(" ", false);
  while (!is_zone_stop(page.cursor_column));
}
