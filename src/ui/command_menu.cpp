#include "ui/command_menu.h"

#include <cstdint>
#include <string>

#include "context/program.h"
#include "runtime/failures.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/screen.h"

void draw_menu() {
  auto& g = program();
  g.menu_col = 48;
  g.menu_row = 3;
  const auto bits = [](float value) { return round_to_int64(value); };
  g.menu_wanted = static_cast<float>(bits(key_down(key_left_shift)) | bits(key_down(key_right_shift)));
  const float x = mouse_x();
  const std::int64_t pointer_at_menu =
      bits(truth(x > 8 * extended{g.menu_col})) & bits(truth(x < 630));
  g.menu_wanted = static_cast<float>((bits(g.menu_wanted) | pointer_at_menu) & bits(truth(g.rotation_drag == 0)));
  g.menu_visible = 0;
  if (g.menu_wanted == 0) return;
  g.menu_visible = 1;
  g.mouse_row = floor_single(single(extended{mouse_y()} / 16));
  const float last_entry = single(extended{g.menu_count} - 1);
  for (g.menu_i = 0; g.menu_i <= last_entry; g.menu_i = next_count(g.menu_i)) {
    set_text_cursor(integer_argument(extended{g.menu_row} + g.menu_i), integer_argument(g.menu_col));
    end_step();
    set_color(colour_yellow);
    end_step();
    print_item(g.menu_item(g.menu_i, 0));
    end_step();
    set_color(colour_dark_grey);
    end_step();
    if (g.mouse_row == single(extended{g.menu_row} + g.menu_i - 1)) {
      set_color(colour_white);
      end_step();
      g.menu_hover = g.menu_i;
    }
    print_item("-");
    print_item(g.menu_item(g.menu_i, 1));
    print_text("", true);
    end_step();
  }
}
