#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/page_dump.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;
constexpr float not_a_number = std::numeric_limits<float>::quiet_NaN();

class ScreenDrawing : public FreshPixelProgram {
 protected:
  void SetUp() override {
    FreshPixelProgram::SetUp();
    set_screen_mode(12, 0, 1, 13);
  }
  Page& page() { return drawing_page(); }
  PixelSet set_pixels() {
    PixelSet found;
    for (int y = 0; y < page().height; ++y)
      for (int x = 0; x < page().width; ++x)
        if (page().pixel(x, y) != 0) found.insert({x, y});
    return found;
  }
};

PixelSet row_of_pixels(int y, int first_x, int last_x) {
  PixelSet row;
  for (int x = first_x; x <= last_x; ++x) row.insert({x, y});
  return row;
}

struct LineCase {
  const char* what;
  float x1, y1, x2, y2;
  PixelSet expected;
};

TEST_F(ScreenDrawing, LinesAreClippedToThePageAndSteppedAlongTheLongerAxis) {
  const LineCase cases[] = {
      {"one point", 100, 100, 100, 100, {{100, 100}}},
      {"row across the page", -100, 240, 700, 240, row_of_pixels(240, 0, 639)},
      {"wholly left of the page", -50, 10, -5, 400, {}},
      {"wholly below the page", 10, 480, 600, 900, {}},
      {"to a point that is not a number", 100, 100, not_a_number, not_a_number, {}},
      {"from a point that is not a number", not_a_number, 5, 100, 100, {}},
      // Beyond 32 bits a coordinate counts as -2147483648, whose wrapped difference to the
      // page is negative; -2e9 still fits and is clipped at the left edge.
      {"beyond 32 bits", -3e9f, 240, 100, 240, {}},
      {"within 32 bits", -2e9f, 240, 100, 240, row_of_pixels(240, 0, 100)},
      {"end coordinates round half to even", 2.5f, 3.5f, 5.5f, 3.5f, {{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}}},
      {"halves round away from zero", 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {"stepping backwards", 4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
      {"steep line", 7, 3, 9, 7, {{7, 3}, {8, 4}, {8, 5}, {9, 6}, {9, 7}}},
      // Entering at the left edge at y = 0.5 and 2.5: the edge point rounds to the even row.
      {"edge point tie to even 0", -1, 0, 1, 1, {{0, 0}, {1, 1}}},
      {"edge point tie to even 2", -1, 2, 1, 3, {{0, 2}, {1, 3}}},
      {"enters at the top", -10, -10, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"leaves at the bottom right", 636, 476, 650, 490, {{636, 476}, {637, 477}, {638, 478}, {639, 479}}},
      {"enters at the right edge", 641, 100, 637, 102, {{639, 101}, {638, 102}, {637, 102}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    clear_screen();
    draw_line(c.x1, c.y1, c.x2, c.y2, 30);
    EXPECT_EQ(set_pixels(), c.expected);
    for (const auto& [x, y] : c.expected) EXPECT_EQ(page().pixel(x, y), 14);
  }
}

struct PixelCase {
  float x, y;
  int colour;
  bool drawn;
  int expected_x, expected_y, expected_colour;
};

TEST_F(ScreenDrawing, PixelCoordinatesRoundToEvenAndOffPagePointsDrawNothing) {
  const float infinity = std::numeric_limits<float>::infinity();
  const PixelCase cases[] = {
      {639.5f, 10, 1, false, 0, 0, 0},      {638.5f, 10, 2, true, 638, 10, 2},
      {not_a_number, 7, 3, true, 0, 7, 3},  {11.5f, -infinity, 4, true, 12, 0, 4},
      {-0.5f, 479.4f, 5, true, 0, 479, 5},  {-0.6f, 3, 6, false, 0, 0, 0},
      {4294967296.0f + 5, 5, 7, false, 0, 0, 0}, {20, 480, 8, false, 0, 0, 0},
      {30, 40, 18, true, 30, 40, 2},        {31, 40, -1, true, 31, 40, 15},
  };
  for (const PixelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    clear_screen();
    set_pixel(c.x, c.y, c.colour);
    const PixelSet expected = c.drawn ? PixelSet{{c.expected_x, c.expected_y}} : PixelSet{};
    EXPECT_EQ(set_pixels(), expected);
    if (c.drawn) {
      EXPECT_EQ(page().pixel(c.expected_x, c.expected_y), c.expected_colour);
    }
  }
}

// Direction of a pixel seen from the circle's centre, counter-clockwise from the right, 0 to 2 pi.
double angle_from_centre(int x, int y) {
  const double angle = std::atan2(220.0 - y, x - 320.0);
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

// True when the unset pixels around the centre are closed in by set ones.
bool ring_is_closed(const Page& page, int cx, int cy) {
  std::vector<bool> seen(page.pixels.size(), false);
  std::vector<std::pair<int, int>> todo{{cx, cy}};
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x >= page.width || y >= page.height) return false;
    const std::size_t at = static_cast<std::size_t>(y) * page.width + x;
    if (seen[at] || page.pixels[at] != 0) continue;
    seen[at] = true;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  return true;
}

TEST_F(ScreenDrawing, FullCircleIsAClosedRingThroughItsFourExtremes) {
  set_color(11);
  draw_circle(320, 220, 50, 0, 0, 0, 0, 4);
  const PixelSet ring = set_pixels();
  EXPECT_TRUE(ring_is_closed(page(), 320, 220));
  int right = 0, top = 480, left = 640, low = 0;
  for (const auto& [x, y] : ring) {
    EXPECT_EQ(page().pixel(x, y), 11);
    EXPECT_NEAR(std::hypot(x - 320.0, y - 220.0), 50, 1.0) << x << "," << y;
    right = std::max(right, x), left = std::min(left, x), top = std::min(top, y), low = std::max(low, y);
  }
  EXPECT_EQ(right, 370);
  EXPECT_EQ(top, 170);
  EXPECT_EQ(left, 270);
  EXPECT_EQ(low, 270);
  for (auto [x, y] : {std::pair{370, 220}, {320, 170}, {270, 220}, {320, 270}}) EXPECT_TRUE(ring.count({x, y})) << x << "," << y;
}

TEST_F(ScreenDrawing, ArcFromOneRadianLeavesOutTheUpperRightUpToAboutFiftySevenDegrees) {
  draw_circle(320, 220, 50, 0, 0, 0, 0, 4);
  const PixelSet full = set_pixels();
  clear_screen();
  draw_circle(320, 220, 50, 0, 1, 0, 0, 4);
  const PixelSet arc = set_pixels();
  EXPECT_FALSE(ring_is_closed(page(), 320, 220));
  EXPECT_TRUE(arc.count({370, 220}));
  double widest_missing = 0;
  for (const auto& pixel : full) {
    const double angle = angle_from_centre(pixel.first, pixel.second);
    if (arc.count(pixel)) {
      EXPECT_FALSE(angle > 0.05 && angle < 0.95) << pixel.first << "," << pixel.second;
    } else {
      EXPECT_GT(angle, 0);
      EXPECT_LT(angle, 1.02);
      widest_missing = std::max(widest_missing, angle);
    }
  }
  EXPECT_GT(widest_missing, 0.95);
  for (const auto& pixel : arc) EXPECT_TRUE(full.count(pixel)) << pixel.first << "," << pixel.second;
}

TEST_F(ScreenDrawing, StartAfterEndWrapsTheArcAroundZero) {
  draw_circle(320, 220, 50, 17, 2, 1, 0, 2 | 4 | 8);
  const PixelSet arc = set_pixels();
  ASSERT_FALSE(arc.empty());
  bool near_zero = false, near_pi = false;
  for (const auto& [x, y] : arc) {
    const double angle = angle_from_centre(x, y);
    EXPECT_FALSE(angle > 1.03 && angle < 1.97) << x << "," << y;
    EXPECT_EQ(page().pixel(x, y), 1);
    near_zero = near_zero || angle < 0.1 || angle > 6.2;
    near_pi = near_pi || std::fabs(angle - std::numbers::pi) < 0.1;
  }
  EXPECT_TRUE(near_zero);
  EXPECT_TRUE(near_pi);
}

TEST_F(ScreenDrawing, CirclesAtAndBeyondTheEdgesAndOfRadiusZero) {
  draw_circle(5, 5, 30, 0, 0, 0, 0, 0);
  const PixelSet corner = set_pixels();
  EXPECT_TRUE(corner.count({35, 5}));
  EXPECT_TRUE(corner.count({5, 35}));
  clear_screen();
  draw_circle(-100, 240, 50, 0, 0, 0, 0, 0);
  draw_circle(320, 240, std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0, 0);
  draw_circle(320, 240, std::numeric_limits<double>::infinity(), 0, 0, 0, 0, 0);
  EXPECT_TRUE(set_pixels().empty());
  draw_circle(100, 100, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(set_pixels(), (PixelSet{{100, 100}}));
}

// The steps are counted from the signed radius: a negative one takes none and leaves the centre
// pixel alone, however far below zero it lies, while its positive twin draws a ring.
TEST_F(ScreenDrawing, NegativeRadiusDrawsTheCentrePixelAlone) {
  struct Case {
    double radius;
    std::size_t pixels;
  };
  for (const Case& c : {Case{5, 28}, Case{-5, 1}, Case{-50, 1}, Case{-1e12, 1}}) {
    SCOPED_TRACE(c.radius);
    clear_screen();
    draw_circle(100, 100, c.radius, 0, 0, 0, 0, 0);
    const PixelSet drawn = set_pixels();
    EXPECT_EQ(drawn.size(), c.pixels);
    if (c.pixels == 1) {
      EXPECT_EQ(drawn, (PixelSet{{100, 100}}));
    }
  }
}

TEST_F(ScreenDrawing, AngleBeyondTwoPiIsRejectedAndChangesNothing) {
  struct Case {
    double start, end;
    int given;
  };
  for (const Case& c : {Case{6.3, 0, 4}, Case{0, -6.3, 8}, Case{-7, 7, 12}}) {
    SCOPED_TRACE(c.given);
    set_pixel(1, 2, 0);
    draw_circle(320, 220, 50, 0, c.start, c.end, 0, c.given);
    EXPECT_EQ(runtime().failures.pending, 5);
    EXPECT_TRUE(set_pixels().empty());
    EXPECT_EQ(runtime().screen.last_x, 1);
    EXPECT_EQ(runtime().screen.last_y, 2);
    runtime().failures.pending = 0;
  }
}

TEST_F(ScreenDrawing, LastPointFollowsEachDrawing) {
  ScreenState& screen = runtime().screen;
  draw_line(1, 2, -30.25f, 9000, 1);
  EXPECT_EQ(screen.last_x, -30.25f);
  EXPECT_EQ(screen.last_y, 9000);
  draw_circle(320.5, 220, 50, 0, 0, 0, 0, 0);
  EXPECT_EQ(screen.last_x, 320.5f);
  EXPECT_EQ(screen.last_y, 220);
  set_pixel(700, -3, 1);
  EXPECT_EQ(screen.last_x, 700);
  EXPECT_EQ(screen.last_y, -3);
  // It carries over to the next drawing page.
  set_screen_mode(12, 1, 0, 12);
  EXPECT_EQ(screen.last_x, 700);
}

TEST_F(ScreenDrawing, PendingFailureStopsEveryDrawing) {
  set_pixel(3, 4, 1);
  const PixelSet before = set_pixels();
  runtime().failures.pending = 9;
  draw_line(0, 0, 639, 479, 15);
  draw_circle(320, 220, 50, 0, 0, 0, 0, 0);
  set_pixel(10, 10, 15);
  EXPECT_EQ(set_pixels(), before);
  EXPECT_EQ(runtime().screen.last_x, 3);
  EXPECT_EQ(runtime().screen.last_y, 4);
}

}  // namespace
