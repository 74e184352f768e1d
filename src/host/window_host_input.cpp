// The window's keyboard and mouse: into the key and mouse queues, or into the error dialog
// while it is open. While the system's message box shows a report, the box takes the answer
// and the window's keys and clicks go nowhere. A key press while the logic is paused only ends
// the pause.
#include <GL/freeglut.h>

#include <cmath>

#include "host/key_entries.h"
#include "host/window_host.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"

namespace {

// Keys without a character, with their PC scan codes.
struct SpecialKey {
  int key;
  std::uint8_t scan_code;
};

constexpr SpecialKey special_keys[] = {
    {GLUT_KEY_F1, 59},        {GLUT_KEY_F2, 60},         {GLUT_KEY_F3, 61},    {GLUT_KEY_F4, 62},
    {GLUT_KEY_F5, 63},        {GLUT_KEY_F6, 64},         {GLUT_KEY_F7, 65},    {GLUT_KEY_F8, 66},
    {GLUT_KEY_F9, 67},        {GLUT_KEY_F10, 68},        {GLUT_KEY_F11, 87},   {GLUT_KEY_F12, 88},
    {GLUT_KEY_HOME, 71},      {GLUT_KEY_UP, 72},         {GLUT_KEY_PAGE_UP, 73}, {GLUT_KEY_LEFT, 75},
    {GLUT_KEY_BEGIN, 76},     {GLUT_KEY_RIGHT, 77},      {GLUT_KEY_END, 79},   {GLUT_KEY_DOWN, 80},
    {GLUT_KEY_PAGE_DOWN, 81}, {GLUT_KEY_INSERT, 82},     {GLUT_KEY_DELETE, 83},
};

std::uint8_t special_scan_code(int key) {
  for (const SpecialKey& special : special_keys)
    if (special.key == key) return special.scan_code;
  return 0;
}

bool is_arrow(int key) { return key == GLUT_KEY_LEFT || key == GLUT_KEY_RIGHT || key == GLUT_KEY_UP || key == GLUT_KEY_DOWN; }

constexpr std::uint16_t mouse_bits[] = {mouse_bit_left, mouse_bit_middle, mouse_bit_right, mouse_bit_wheel_up,
                                        mouse_bit_wheel_down};

}  // namespace

void WindowHost::typed(unsigned char key) {
  if (pause_ends()) return;
  const int modifiers = glutGetModifiers();
  // Also over an error report, where Enter alone presses the focused button.
  if (key == '\r' && (modifiers & GLUT_ACTIVE_ALT) != 0) {
    toggle_full_screen();
    return;
  }
  if (dialog_) {
    if (const std::optional<bool> answer = dialog_->character(key)) answer_report(*answer);
    else compose();
    return;
  }
  if (reports_.answer_awaited()) return;
  const KeyEntry entry =
      typed_key_entry(key, (modifiers & GLUT_ACTIVE_CTRL) != 0, (modifiers & GLUT_ACTIVE_ALT) != 0);
  queue_key(entry.code, entry.scan_code);
}

void WindowHost::special_key(int key, bool down) {
  if (key == GLUT_KEY_SHIFT_L) set_key_held(key_left_shift, down);
  if (key == GLUT_KEY_SHIFT_R) set_key_held(key_right_shift, down);
  if (!down || pause_ends()) return;
  if (dialog_) {
    if (is_arrow(key)) {
      dialog_->move_focus();
      compose();
    }
    return;
  }
  if (reports_.answer_awaited()) return;
  // Modifier keys alone queue nothing.
  if (const std::uint8_t scan_code = special_scan_code(key)) queue_key(0, scan_code);
}

void WindowHost::mouse_button(int button, int state, int x, int y) {
  const bool down = state == GLUT_DOWN;
  if (dialog_) {
    if (button != GLUT_LEFT_BUTTON || fit_.width == 0) return;
    const int page_x = static_cast<int>(std::floor((x - fit_.left) / fit_.horizontal_scale));
    const int page_y = static_cast<int>(std::floor((y - fit_.top) / fit_.vertical_scale));
    if (down) {
      dialog_->pointer_down(page_x, page_y);
      compose();
    } else if (const std::optional<bool> answer = dialog_->pointer_up(page_x, page_y)) {
      answer_report(*answer);
    }
    return;
  }
  if (reports_.answer_awaited()) return;
  if (button < 0 || button >= static_cast<int>(std::size(mouse_bits))) return;
  const std::uint16_t bit = mouse_bits[button];
  if (bit == mouse_bit_wheel_up || bit == mouse_bit_wheel_down) {
    if (down) queue_mouse_wheel(bit, x, y);  // one notch is one press; its release says nothing more
    return;
  }
  queue_mouse_button(bit, down, x, y);
}

void WindowHost::mouse_moved(int x, int y) {
  if (!dialog_ && !reports_.answer_awaited()) queue_mouse_move(x, y);
}
