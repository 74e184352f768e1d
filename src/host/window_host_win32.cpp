// The window host's Windows side. freeglut reports neither the Pause key nor Break (Ctrl+Pause,
// which Windows turns into VK_CANCEL), and it misses a Shift key that was held before the window
// opened, its release included. The window's procedure is wrapped so that these key messages
// are seen before freeglut's procedure gets them; the Shift keys held at the start come from
// GetAsyncKeyState. No other program can destroy the window: it goes only through freeglut's
// close. The thread sleeps on its message queue and the bell. The error report is the system's
// message box, not owned by the window, so that the window stays enabled: it keeps presenting,
// and its close still ends the program while the box waits.
#include <windows.h>

#include "host/system_message_box_win32.h"
#include "host/window_host.h"
#include "runtime/keyboard.h"

namespace {

WindowHost* keys_host = nullptr;
SystemMessageBox report_box;
WNDPROC freeglut_procedure = nullptr;
bool wide_window = false;  // the procedure takes its text messages in UTF-16

bool held(int virtual_key, bool now) {
  const SHORT state = now ? GetAsyncKeyState(virtual_key) : GetKeyState(virtual_key);
  return (static_cast<unsigned short>(state) & 0x8000) != 0;
}

// Both Shift keys arrive as VK_SHIFT; the state as of the message being handled tells them apart.
void take_shift_keys() {
  set_key_held(key_left_shift, held(VK_LSHIFT, false));
  set_key_held(key_right_shift, held(VK_RSHIFT, false));
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM key, LPARAM details) {
  if (keys_host != nullptr) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if ((down || up) && key == VK_SHIFT) take_shift_keys();
    if (down && (key == VK_CANCEL || (key == VK_PAUSE && held(VK_CONTROL, false)))) keys_host->stop_pressed();
    else if (down && key == VK_PAUSE) keys_host->pause_pressed();
  }
  return wide_window ? CallWindowProcW(freeglut_procedure, window, message, key, details)
                     : CallWindowProcA(freeglut_procedure, window, message, key, details);
}

}  // namespace

void WindowHost::open_system_side() {
  const HWND window = WindowFromDC(wglGetCurrentDC());
  if (window == nullptr) return;  // then the Pause and Break keys do nothing
  keys_host = this;
  wide_window = IsWindowUnicode(window) != FALSE;
  const auto procedure = reinterpret_cast<LONG_PTR>(&window_procedure);
  freeglut_procedure = reinterpret_cast<WNDPROC>(wide_window ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                                                             : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure));
  // The runtime that start_runtime makes takes these as its held keys.
  if (held(VK_LSHIFT, true)) keys_held_at_open_.push_back(key_left_shift);
  if (held(VK_RSHIFT, true)) keys_held_at_open_.push_back(key_right_shift);
}

// The wrapped procedure sees every key message as it is dispatched.
void WindowHost::poll_system_side() {}

void WindowHost::close_system_side() {
  keys_host = nullptr;
  report_box.dismiss();
}

void WindowHost::sleep_until_woken(int timeout_ms) { doorbell_.wait({}, timeout_ms); }

void WindowHost::show_report(const PostedReport& report) {
  report_box.show(report, [this](bool yes) { reports_.answer(yes); });
}
