// The whole program under thousands of passes of random input: keys (every command in either
// case, and keys that are none), pointer moves, presses and releases over the grid, the panel,
// the menu and the rotation circle, Shift held and released, with the saves, reloads, factory
// resets and quits they bring. Every save must leave a whole state file that holds the model.
// The run is deterministic from its seed, which it prints; SWARM_SOAK_SEED replays another.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/number_text.h"
#include "support/program_run.h"
#include "support/rule_rows.h"

namespace {

constexpr int target_passes = 3000;
constexpr int file_lines = 17018;

struct Point {
  int x, y;
};

class Soak {
 public:
  explicit Soak(unsigned seed) : random_(seed) {}

  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  // A pointer position in one of the regions where input does something, or anywhere.
  Point target() {
    switch (pick(5)) {
      case 0: return {pick(140), 360 + pick(100)};          // the cell grid
      case 1: return {pick(640), pick(150)};                // the parameter panel rows
      case 2: return {380 + pick(260), 20 + pick(190)};     // the command menu
      case 3: return {260 + pick(120), 160 + pick(120)};    // the rotation circle
      default: return {pick(640), pick(480)};
    }
  }

  std::uint8_t key() {
    static const char keys[] = "tTrRfFdDqQcCmMbBoOxX1 ";
    if (pick(40) == 0) return 27;
    if (pick(30) == 0) return 0;  // a key without a character: two-character text
    return static_cast<std::uint8_t>(keys[pick(sizeof keys - 1)]);
  }

 private:
  std::mt19937 random_;
};

unsigned soak_seed() {
  if (const char* text = std::getenv("SWARM_SOAK_SEED")) return static_cast<unsigned>(std::strtoul(text, nullptr, 10));
  return 20261210;
}

// A whole state file: 17,018 lines, each a number text with its blank that reads back as the
// value it was written from, and the cells within what the program itself writes.
void expect_whole_state_file(const std::vector<std::string>& lines) {
  ASSERT_EQ(lines.size(), file_lines);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ASSERT_TRUE(line.size() >= 3 && line.back() == ' ') << "line " << i + 1;
    const std::string text = line.substr(0, line.size() - 1);
    ASSERT_EQ(single_to_str(single(val_string(text))), text) << "line " << i + 1;
  }
  auto value = [&](int row) { return single(val_string(lines[10 * row + cell_value])); };
  const float kinds = value(1700);
  EXPECT_TRUE(kinds >= 1 && kinds <= 39) << kinds;
  for (int kind = 0; kind < 40; ++kind) {
    EXPECT_TRUE(value(kind) >= 1 && value(kind) <= 15) << "colour of kind " << kind;
    const float count = value(40 + kind);
    EXPECT_TRUE(count == std::floor(count) && count <= 801) << "count of kind " << kind;
    for (int target = 0; target < 40; ++target) {
      const float rule = value(rule_table_row(kind, target));
      EXPECT_TRUE(rule == -1 || rule == 0 || rule == 1) << "rule " << kind << " " << target;
    }
  }
}

// The file holds the model exactly: every field of every row and the eight parameters.
void expect_file_holds_model(const std::vector<std::string>& lines) {
  ASSERT_EQ(lines.size(), file_lines);
  auto& g = program();
  for (int row = 0; row <= 1700; ++row)
    for (int field = 0; field <= 9; ++field)
      ASSERT_EQ(lines[10 * row + field], single_to_str(g.model_table(row, field)) + " ")
          << "row " << row << " field " << field;
  const float parameters[] = {g.particle_shape,     g.particle_size, g.cube_confine,  g.step_size,
                              g.central_attraction, g.circle_radius, g.max_particles, g.auto_rotate_speed};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(lines[17010 + i], single_to_str(parameters[i]) + " ");
}

TEST(Soak, ThousandsOfRandomPassesKeepEverySavedModelWhole) {
  const unsigned seed = soak_seed();
  std::printf("soak seed %u (SWARM_SOAK_SEED=%u replays it)\n", seed, seed);
  Soak soak(seed);
  ProgramRun run;
  run.host.answer_when_unscripted = true;
  ASSERT_TRUE(run.start());

  int passes = 0, saves = 0, quits = 0;
  bool shift = false;
  Point pointer{0, 0};
  std::uint16_t buttons = 0;
  std::string last_file = run.folder.read("vorka.dat");
  while (passes < target_passes && !testing::Test::HasFatalFailure()) {
    bool key_typed = false;
    switch (soak.pick(12)) {
      case 0:
      case 1:
      case 2:
      case 5:
      case 6:
        pointer = soak.target();
        queue_mouse_move(pointer.x, pointer.y);
        break;
      case 3:
      case 7: {
        const std::uint16_t bit = soak.pick(2) == 0 ? mouse_bit_left : mouse_bit_right;
        const bool down = (buttons & bit) == 0;
        buttons = down ? (buttons | bit) : (buttons & ~bit);
        queue_mouse_button(bit, down, pointer.x, pointer.y);
        break;
      }
      case 8:
        shift = !shift;
        set_key_held(soak.pick(2) == 0 ? key_left_shift : key_right_shift, shift);
        if (!shift) {
          set_key_held(key_left_shift, false);
          set_key_held(key_right_shift, false);
        }
        break;
      default: {
        const std::uint8_t code = soak.key();
        queue_key(code, code == 0 ? 72 : 0);
        key_typed = true;
      }
    }
    const int frames = key_typed ? 2 : 1 + soak.pick(2);
    const bool running = run.run_frames(frames);
    passes += frames;

    if (!running) {
      // Only the quit command ends the program: it saved the model just before.
      ASSERT_EQ(run.run_to_end(), 0);
      ++quits;
      const std::vector<std::string> lines = run.folder.lines("vorka.dat");
      expect_whole_state_file(lines);
      expect_file_holds_model(lines);
      ASSERT_TRUE(run.start());
      // The new start loaded what was saved, and laid it out again the same way.
      expect_file_holds_model(lines);
      last_file = run.folder.read("vorka.dat");
      continue;
    }
    const std::string file = run.folder.read("vorka.dat");
    EXPECT_FALSE(run.folder.exists("vorka.dat.saving"));
    if (file != last_file) {
      ++saves;
      expect_whole_state_file(run.folder.lines("vorka.dat"));
      last_file = file;
    }
    auto& g = program();
    for (int kind = 0; kind < 40; ++kind) {
      const float count = g.color_count(kind);
      ASSERT_TRUE(std::isfinite(count) && count == std::floor(count) && count <= 801) << count;
    }
  }
  for (const ErrorReport& report : run.host.reports) ADD_FAILURE() << report.caption << ": " << report.text;
  std::printf("soak: %d passes, %d saves seen, %d quits\n", passes, saves, quits);
  EXPECT_EQ(run.stop(), 0);
}

}  // namespace
