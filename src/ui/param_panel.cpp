#include "ui/param_panel.h"

#include <cstdint>
#include <string>

#include "context/program.h"
#include "runtime/failures.h"
#include "runtime/mouse.h"
#include "runtime/number_text.h"
#include "runtime/screen.h"
#include "ui/run_parameters.h"

void draw_param_panel() {
  auto& g = program();
  g.panel_row = floor_single(single(extended{mouse_y()} / 16));
  if ((round_to_int64(g.panel_shown) & round_to_int64(truth(g.menu_visible == 0))) == 0) return;
  set_text_cursor(1, 1);
  end_step();
  set_color(colour_dark_grey);
  end_step();
  for (int r = 0; const RunParameter* parameter = parameter_on_panel_row(r); ++r) {
    set_color(g.panel_row == static_cast<float>(r) ? colour_white : colour_dark_grey);
    end_step();
    print_item(parameter->label);
    end_step();
    const float value = g.*parameter->member;
    if (parameter->shown_by_template) {
      std::string text;
      print_using_single("###.##", value, text);
      print_text(text, true);
    } else {
      print_item(single_to_str(value) + " ");
      print_text("", true);
    }
    end_step();
  }
}

void edit_panel_row() {
  auto& g = program();
  g.click_dir = 0;
  if (g.btn_left != 0) g.click_dir = -1;
  if (g.btn_right != 0) g.click_dir = 1;
  // The three conditions are -1/0 values combined bitwise.
  const std::int64_t go_on = round_to_int64(truth(g.click_dir != 0)) & round_to_int64(truth(g.rotation_drag == 0)) &
                             round_to_int64(truth(g.menu_visible == 0));
  if (go_on == 0) return;
  if (const RunParameter* parameter = parameter_on_panel_row(g.panel_row))
    parameter->edit(g.*parameter->member, g.click_dir);
  end_step();
}
