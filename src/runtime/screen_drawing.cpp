// Lines, circles and single pixels on the drawing page, clipped to the page.
#include <cmath>
#include <cstdint>
#include <emmintrin.h>
#include <limits>
#include <numbers>

#include "runtime/numbers.h"
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "runtime/sine_cosine.h"

namespace {

constexpr double two_pi = 2 * std::numbers::pi;
constexpr std::int32_t off_range = std::numeric_limits<std::int32_t>::min();

struct Point {
  std::int32_t x, y;
};

void put_pixel(Page& page, std::int64_t x, std::int64_t y, std::uint8_t colour) {
  if (page.contains(x, y)) page.pixel(static_cast<int>(x), static_cast<int>(y)) = colour;
}

// Nearest integer, ties to even; a value that is not a number, is infinite or does not fit in
// 32 bits becomes the lowest 32-bit integer.
std::int32_t line_coordinate(float value) {
  // Below 2^31 the float is exact in double, and double's nearest-even rounding gives the
  // integer the extended one gives, without the extended conversion: the processor's own
  // conversion, which rounds in the mode in force as nearbyint does.
  if (std::fabs(value) < 0x1p31f) return _mm_cvtsd_si32(_mm_set_sd(value));
  const std::int64_t rounded = round_to_int64(value);
  if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
    return off_range;
  return static_cast<std::int32_t>(rounded);
}

// The difference of two coordinates as a 32-bit integer that wraps.
double wrapped_difference(std::int32_t to, std::int32_t from) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) - static_cast<std::uint32_t>(from));
}

std::int32_t round_edge_position(double t) { return static_cast<std::int32_t>(std::nearbyint(static_cast<float>(t))); }

// Moves the outside end `moving` of the segment to `other` onto the page's edge; false when the
// segment's direction does not cross into the page there.
bool clip_end(Point& moving, Point other, int right, int bottom) {
  const double k = wrapped_difference(other.x, moving.x) / std::fabs(wrapped_difference(other.y, moving.y));
  const double l = wrapped_difference(other.y, moving.y) / std::fabs(wrapped_difference(other.x, moving.x));
  const extended a = moving.x, b = moving.y;
  if (moving.x > right && k < 0) {
    const double t = to_double(b + (a - right) * l);
    if (t >= 0 && t <= bottom) {
      moving = {right, round_edge_position(t)};
      return true;
    }
  }
  if (moving.x < 0 && k > 0) {
    const double t = to_double(b + (0 - a) * l);
    if (t >= 0 && t <= bottom) {
      moving = {0, round_edge_position(t)};
      return true;
    }
  }
  if (moving.y < 0 && l > 0) {
    const double t = to_double(a + (0 - b) * k);
    if (t >= 0 && t <= right) {
      moving = {round_edge_position(t), 0};
      return true;
    }
  }
  if (moving.y > bottom && l < 0) {
    const double t = to_double(a + (b - bottom) * k);
    if (t >= 0 && t <= right) {
      moving = {round_edge_position(t), bottom};
      return true;
    }
  }
  return false;
}

bool clip_segment(Point& from, Point& to, int right, int bottom) {
  auto inside = [&](Point p) { return p.x >= 0 && p.x <= right && p.y >= 0 && p.y <= bottom; };
  if (!inside(from)) {
    if ((from.x == to.x && from.y == to.y) || (from.x < 0 && to.x < 0) || (from.x > right && to.x > right) ||
        (from.y < 0 && to.y < 0) || (from.y > bottom && to.y > bottom))
      return false;
    if (!clip_end(from, to, right, bottom)) return false;
  }
  return inside(to) || clip_end(to, from, right, bottom);
}

std::int64_t round_half_away(extended value) {
  return static_cast<std::int64_t>(value >= 0 ? std::trunc(value + 0.5L) : std::trunc(value - 0.5L));
}

// The same for a float that lies on the page or near it: below 2^51 the float plus or minus one
// half is exact in double as it is in extended, so both truncate the same value.
std::int64_t round_half_away_single(float value) {
  if (!(std::fabs(value) < 0x1p51f)) return round_half_away(value);
  const double exact = value;
  // The conversion truncates towards zero itself.
  return static_cast<std::int64_t>(exact >= 0 ? exact + 0.5 : exact - 0.5);
}

// Steps one coordinate pixel by pixel and lets the other follow a single-precision value.
void draw_clipped(Page& page, Point from, Point to, std::uint8_t colour) {
  const int dx = std::abs(to.x - from.x), dy = std::abs(to.y - from.y);
  if (dx > dy) {
    const int step = to.x < from.x ? -1 : 1;
    const float slope = static_cast<float>(to.y - from.y) / static_cast<float>(dx);
    float h = static_cast<float>(from.y);
    for (int i = 0, x = from.x; i <= dx; ++i, x += step, h += slope) put_pixel(page, x, round_half_away_single(h), colour);
  } else {
    const int step = to.y < from.y ? -1 : 1;
    const float slope = dy == 0 ? 0.0f : static_cast<float>(to.x - from.x) / static_cast<float>(dy);
    float h = static_cast<float>(from.x);
    for (int i = 0, y = from.y; i <= dy; ++i, y += step, h += slope) put_pixel(page, round_half_away_single(h), y, colour);
  }
}

// A pixel coordinate: nearest integer, ties to even. A value that is not a number or is
// infinite counts as 0; one beyond the 32-bit range lies off the page.
std::int64_t pixel_coordinate(float value) {
  if (!std::isfinite(value)) return 0;
  const std::int64_t rounded = round_to_int64(value);
  if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
    return -1;
  return rounded;
}

struct Arc {
  double start, end;
  bool wraps;
  bool contains(double angle) const { return wraps ? angle <= start || angle >= end : angle >= start && angle <= end; }
};

}  // namespace

bool draw_line_pixels(Page& page, float x1, float y1, float x2, float y2, int colour) {
  Point from{line_coordinate(x1), line_coordinate(y1)}, to{line_coordinate(x2), line_coordinate(y2)};
  if (!clip_segment(from, to, page.width - 1, page.height - 1)) return false;
  draw_clipped(page, from, to, static_cast<std::uint8_t>(colour & 15));
  return true;
}

void set_pixel_pixels(Page& page, float x, float y, int colour) {
  put_pixel(page, pixel_coordinate(x), pixel_coordinate(y), static_cast<std::uint8_t>(colour & 15));
}

void set_last_point(float x, float y) {
  ScreenState& screen = runtime().screen;
  screen.last_x = x;
  screen.last_y = y;
}

void draw_line(float x1, float y1, float x2, float y2, int colour) {
  if (failure_pending()) return;
  set_last_point(x2, y2);
  if (draw_line_pixels(drawing_page(), x1, y1, x2, y2, colour)) drawing_page_changed();
}

void draw_circle(double x, double y, double radius, int colour, double start, double end, double aspect, int given) {
  if (failure_pending()) return;
  if ((given & 4) == 0) start = 0;
  if ((given & 8) == 0) end = two_pi;
  if ((given & 16) == 0) aspect = 1;
  if (std::fabs(start) > two_pi || std::fabs(end) > two_pi) {
    raise_error(error_illegal_function_call);
    return;
  }
  Page& page = drawing_page();
  ScreenState& screen = runtime().screen;
  screen.last_x = static_cast<float>(x);
  screen.last_y = static_cast<float>(y);
  const std::uint8_t ink = ((given & 2) != 0 ? colour : page.foreground) & 15;
  const Arc arc = start > end ? Arc{end, start, true} : Arc{start, end, false};

  double rx = std::fabs((x + radius) - x), ry = rx;
  if (aspect < 1) ry *= aspect;
  if (aspect > 1) rx /= aspect;
  const int right = page.width - 1, bottom = page.height - 1;
  if (!(0 <= x + rx + 0.5 && 0 <= y + ry + 0.5 && x - rx - 0.5 <= right && y - ry - 0.5 <= bottom)) return;
  // Steps per quarter, from the signed radius: a negative count takes no step and draws the
  // centre pixel alone, and a radius too large for a 32-bit count draws nothing.
  const double quarter_steps = std::trunc(two_pi * radius / 4 + 0.5);
  if (!(quarter_steps <= std::numeric_limits<std::int32_t>::max())) return;
  const int n = quarter_steps < 0 ? -1 : static_cast<int>(quarter_steps);
  const std::int64_t cx = round_half_away(x), cy = round_half_away(y);
  // The step's sine and cosine from the program's own functions, which give the same bits on
  // every system; no step is taken for n = 0.
  const double step = std::numbers::pi / 2 / n;
  const sine_cosine::SineCosine turn = n > 0 ? sine_cosine::quarter_step(n) : sine_cosine::SineCosine{0, 1};
  const double cos_step = turn.cosine, sin_step = turn.sine;

  double a1 = 0, a2 = std::numbers::pi, a3 = std::numbers::pi, a4 = two_pi;
  double cs = 1, sn = 0;
  std::int64_t pending_u = 0, pending_v = 0, drawn_u = 0, drawn_v = 0;
  auto draw_pending = [&] {
    if (arc.contains(a1)) put_pixel(page, cx + pending_u, cy + pending_v, ink);
    if (arc.contains(a2)) put_pixel(page, cx - pending_u, cy + pending_v, ink);
    if (arc.contains(a3)) put_pixel(page, cx - pending_u, cy - pending_v, ink);
    if (arc.contains(a4)) put_pixel(page, cx + pending_u, cy - pending_v, ink);
    drawn_u = pending_u;
    drawn_v = pending_v;
  };
  for (int i = 0; i <= n; ++i) {
    const std::int64_t u = static_cast<std::int64_t>(std::trunc(cs * rx + 0.5));
    const std::int64_t v = static_cast<std::int64_t>(std::trunc(sn * ry - 0.5));
    if (i == 0) {
      pending_u = u;
      pending_v = v;
    }
    if (i == 0 || std::abs(u - drawn_u) > 1 || std::abs(v - drawn_v) > 1) draw_pending();
    pending_u = u;
    pending_v = v;
    if (i < n) {
      const double next_cs = to_double(extended{cs} * cos_step + extended{sn} * sin_step);
      sn = to_double(extended{sn} * cos_step - extended{cs} * sin_step);
      cs = next_cs;
      a1 += step;
      a3 += step;
      a2 -= step;
      a4 -= step;
    }
  }
  draw_pending();
  drawing_page_changed();
}

void set_pixel(float x, float y, int colour) {
  if (failure_pending()) return;
  set_last_point(x, y);
  set_pixel_pixels(drawing_page(), x, y, colour);
  drawing_page_changed();
}
