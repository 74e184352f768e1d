// Screen modes and pages: which page is drawn on, which is shown, and the palette.
#include <algorithm>
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"

const Rgb palette[16] = {
    {0, 0, 0},    {0, 0, 170},    {0, 170, 0},    {0, 170, 170},    {170, 0, 0},    {170, 0, 170},
    {170, 85, 0}, {170, 170, 170}, {85, 85, 85},  {85, 85, 255},    {85, 255, 85},  {85, 255, 255},
    {255, 85, 85}, {255, 85, 255}, {255, 255, 85}, {255, 255, 255},
};

namespace {

std::unique_ptr<Page> new_page(int mode) {
  auto page = std::make_unique<Page>();
  page->height = mode == graphics_mode ? graphics_height : text_mode_height;
  page->pixels.assign(static_cast<std::size_t>(page->width) * page->height, 0);
  page->foreground = mode == graphics_mode ? 15 : 7;
  return page;
}

Page& page_number(int number) {
  ScreenState& screen = runtime().screen;
  if (static_cast<std::size_t>(number) >= screen.pages.size()) screen.pages.resize(number + 1);
  if (!screen.pages[number]) screen.pages[number] = new_page(screen.mode);
  return *screen.pages[number];
}

void tell_host_page_shown() {
  Runtime& rt = runtime();
  if (rt.host == nullptr) return;
  const Page& page = shown_page();
  rt.host->page_shown(page.pixels.data(), page.width, page.height);
}

void tell_host_window_size() {
  if (Host* host = runtime().host)
    host->window_size_changed(screen_width, runtime().screen.mode == graphics_mode ? graphics_height : text_mode_height);
}

void enter_mode(int mode) {
  ScreenState& screen = runtime().screen;
  screen.mode = mode;
  screen.pages.clear();
  screen.drawing_page = screen.shown_page = 0;
  page_number(0);
  tell_host_window_size();
}

}  // namespace

Page& drawing_page() { return page_number(runtime().screen.drawing_page); }
const Page& shown_page() { return page_number(runtime().screen.shown_page); }

void drawing_page_changed() {
  const ScreenState& screen = runtime().screen;
  if (screen.drawing_page == screen.shown_page) tell_host_page_shown();
}

void present_screen() {
  tell_host_window_size();
  tell_host_page_shown();
}

void set_screen_mode(int mode, int drawing, int shown, int given) {
  if (failure_pending()) return;
  const bool mode_given = (given & 1) != 0, drawing_given = (given & 4) != 0, shown_given = (given & 8) != 0;
  if ((mode_given && ((mode >= 3 && mode <= 6) || mode > 13 || mode < 0)) || (drawing_given && drawing < 0) ||
      (shown_given && shown < 0)) {
    raise_error(error_illegal_function_call);
    return;
  }
  ScreenState& screen = runtime().screen;
  const int shown_before = screen.shown_page;
  const bool mode_changes = mode_given && mode != screen.mode;
  if (mode_changes) enter_mode(mode);
  if (drawing_given) {
    page_number(drawing);
    screen.drawing_page = drawing;
  }
  if (shown_given) {
    page_number(shown);
    screen.shown_page = shown;
  }
  if (mode_changes || screen.shown_page != shown_before) tell_host_page_shown();
}

void clear_screen() {
  if (failure_pending()) return;
  Page& page = drawing_page();
  std::fill(page.pixels.begin(), page.pixels.end(), static_cast<std::uint8_t>(page.background & 15));
  page.cursor_row = 1;
  page.cursor_column = 1;
  page.line_end_pending = false;
  ScreenState& screen = runtime().screen;
  screen.last_x = static_cast<float>(page.width / 2);
  screen.last_y = static_cast<float>(page.height / 2);
  drawing_page_changed();
}
