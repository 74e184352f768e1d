#include "model/placement.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/random.h"
#include "runtime/runtime.h"
#include "support/page_dump.h"
#include "support/page_text.h"

namespace {

class Placement : public FreshPixelProgram {
 protected:
  static float& at(int kind, int number, int field) { return program().particle(kind, number, field); }
};

TEST_F(Placement, ScatterDrawsKindByKindParticleByParticleAndLeavesTheRest) {
  rnd();  // any generator state
  at(40, 0, 0) = at(0, 240, 1) = at(3, 4, 3) = 7;
  const std::vector<float> draws = next_draws(28801);
  place_random_cube();
  for (int kind = 0; kind < 40; ++kind)
    for (int number = 0; number < 240; ++number)
      for (int axis = 0; axis < 3; ++axis) {
        const float draw = draws[static_cast<std::size_t>(3 * (240 * kind + number) + axis)];
        ASSERT_EQ(at(kind, number, axis), static_cast<float>(static_cast<double>(draw) * 100 - 50))
            << kind << " " << number << " " << axis;
      }
  EXPECT_EQ(rnd(), draws.back());
  EXPECT_EQ(at(40, 0, 0), 7);
  EXPECT_EQ(at(0, 240, 1), 7);
  EXPECT_EQ(at(3, 4, 3), 7);  // forces are not placed
}

TEST_F(Placement, CollapseDrawsThreeValuesPerLiveParticleOnly) {
  auto& g = program();
  n_kinds() = 3;
  g.color_count(0) = 2;
  g.color_count(1) = 0;
  g.color_count(2) = 3;
  g.color_count(3) = 4;  // not in use
  at(0, 2, 0) = at(1, 0, 0) = at(3, 0, 0) = at(2, 0, 4) = 7;
  const std::vector<float> draws = next_draws(16);
  place_bigbang();
  std::size_t next = 0;
  for (const auto& [kind, number] : {std::pair{0, 0}, {0, 1}, {2, 0}, {2, 1}, {2, 2}})
    for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(at(kind, number, axis), draws[next++] - 0.5f) << kind << " " << number;
  EXPECT_EQ(rnd(), draws[15]);
  EXPECT_EQ(at(0, 2, 0), 7);
  EXPECT_EQ(at(1, 0, 0), 7);
  EXPECT_EQ(at(3, 0, 0), 7);
  EXPECT_EQ(at(2, 0, 4), 7);
}

TEST_F(Placement, CollapseLeavesItsLastProgressLinesInTheTextColour) {
  auto& g = program();
  set_screen_mode(12, 0, 1, 13);
  set_color(14);
  n_kinds() = 3;
  for (int kind = 0; kind < 3; ++kind) g.color_count(kind) = 5;
  place_bigbang();
  const Page& page = drawing_page();
  EXPECT_EQ(text_at(page, 1, 1, 18), " 3             2  ");
  EXPECT_EQ(text_at(page, 2, 1, 18), " 5             4  ");
  EXPECT_EQ(page.cursor_row, 3);
  EXPECT_EQ(page.cursor_column, 1);
  int lit = 0;  // pixels of the digits' glyphs
  for (int y = 0; y < 2 * cell_height; ++y)
    for (int x = 0; x < 17 * cell_width; ++x)
      if (page.pixel(x, y) != 0) {
        EXPECT_EQ(page.pixel(x, y), 14) << x << " " << y;
        ++lit;
      }
  EXPECT_GT(lit, 0);
}

TEST_F(Placement, CollapseWithoutKindsPrintsAndMovesNothing) {
  set_screen_mode(12, 0, 1, 13);
  program().color_count(0) = 5;
  at(0, 0, 0) = 7;
  const std::vector<float> draws = next_draws(1);
  place_bigbang();
  EXPECT_EQ(rnd(), draws[0]);
  EXPECT_EQ(at(0, 0, 0), 7);
  EXPECT_EQ(text_at(drawing_page(), 1, 1, 18), std::string(18, ' '));
}

}  // namespace
