#pragma once
// The screen: the start-up text mode and graphics mode 12 with its pages of 640 x 480 pixels in
// colours 0-15, text printing in 8 x 16 cells, lines, circles and pixels on the drawing page.
#include <cstdint>
#include <string>

#include "runtime/screen_state.h"

// Given bits: 1 the mode, 4 the drawing page, 8 the shown page.
void set_screen_mode(int mode, int drawing_page, int shown_page, int given);
void clear_screen();
// Given bits: 1 the foreground, 2 the background.
void set_color(int foreground, int background = 0, int given = 1);
// Given bits: 1 the row, 2 the column (1-based).
void set_text_cursor(int row, int column, int given = 3);
void print_fit_check(const std::string& item);
void print_text(const std::string& text, bool line_end);
// One item as the logic prints it: the fit check, then the text.
void print_item(const std::string& item, bool line_end = false);
void print_comma_tab();
// Appends value formatted by the template (the logic uses "###.##") to output. The template
// holds digit places "#" with at most one point "."; any other template raises failure 5.
void print_using_single(const std::string& format, float value, std::string& output);
void draw_line(float x1, float y1, float x2, float y2, int colour);
// Given bits: 2 the colour, 4 the start angle, 8 the end angle, 16 the aspect.
void draw_circle(double x, double y, double radius, int colour, double start, double end, double aspect, int given);
void set_pixel(float x, float y, int colour);
// The pixels alone of draw_line and set_pixel, on any page: no failure check, no last point and
// no hand-over, so that pages of one's own can be drawn ahead on other threads. draw_line_pixels
// is false when the line misses the page.
bool draw_line_pixels(Page& page, float x1, float y1, float x2, float y2, int colour);
void set_pixel_pixels(Page& page, float x, float y, int colour);
// The last point drawn, which the drawing operations set and drawing ahead hands on.
void set_last_point(float x, float y);

// Hands the host the screen as it stands: the window size of its mode and the shown page. A
// fresh screen state is the start-up text mode.
void present_screen();
// The page the logic draws on, and the one the window shows.
Page& drawing_page();
const Page& shown_page();
// After an operation changed the drawing page: hands it to the host when it is also shown.
void drawing_page_changed();
// The colour of palette entry 0-15 as red, green, blue.
struct Rgb {
  std::uint8_t red, green, blue;
};
extern const Rgb palette[16];
// The palette entries the logic draws with, by name.
constexpr int colour_brown = 6, colour_light_grey = 7, colour_dark_grey = 8, colour_light_cyan = 11,
              colour_yellow = 14, colour_white = 15;
