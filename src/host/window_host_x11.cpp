// The window host's X11 side. freeglut reports neither the Pause key nor Break (Ctrl+Pause),
// nor the keys held before the window opened, nor the window's destruction by another program.
// A second connection to the X server listens to the window's key presses and its destruction,
// and asks for the keyboard's state once when the window opens. The thread sleeps on both
// connections and the bell. X has no message box of its own: the error report is the box drawn
// over the page.
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "host/window_host.h"
#include "runtime/keyboard.h"

namespace {

Display* window_display = nullptr;    // freeglut's connection
Display* keyboard_display = nullptr;  // a connection of its own
Window watched_window = 0;
XErrorHandler previous_error_handler = nullptr;

// Once another program has destroyed the window, freeglut's last requests on it fail; those
// errors are expected and must not end the program.
int on_x_error(Display* display, XErrorEvent* error) {
  if (watched_window != 0 && error->resourceid == watched_window) return 0;
  return previous_error_handler != nullptr ? previous_error_handler(display, error) : 0;
}

bool key_held_now(Display* display, const char keys[32], KeySym symbol) {
  const KeyCode code = XKeysymToKeycode(display, symbol);
  return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
}

Doorbell::Waitable pending_or_descriptor(Display* display, bool& pending) {
  if (display == nullptr) return -1;
  // XPending also sends what is buffered; events that Xlib already read wait in its queue,
  // where no poll of the socket sees them.
  if (XPending(display) > 0) pending = true;
  return ConnectionNumber(display);
}

}  // namespace

void WindowHost::open_system_side() {
  window_display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr || window == 0) return;  // then the Pause and Break keys do nothing
  keyboard_display = display;
  watched_window = window;
  previous_error_handler = XSetErrorHandler(on_x_error);
  XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
  char keys[32];
  XQueryKeymap(display, keys);
  if (key_held_now(display, keys, XK_Shift_L)) keys_held_at_open_.push_back(key_left_shift);
  if (key_held_now(display, keys, XK_Shift_R)) keys_held_at_open_.push_back(key_right_shift);
  XFlush(display);
}

void WindowHost::poll_system_side() {
  Display* display = keyboard_display;
  if (display == nullptr) return;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == watched_window) {
      closed();
      return;
    }
    if (event.type != KeyPress) continue;
    const KeySym symbol = XkbKeycodeToKeysym(display, static_cast<KeyCode>(event.xkey.keycode), 0, 0);
    if (symbol != XK_Pause && symbol != XK_Break) continue;
    if (symbol == XK_Break || (event.xkey.state & ControlMask) != 0) stop_pressed();
    else pause_pressed();
  }
}

void WindowHost::close_system_side() {
  window_display = nullptr;
  if (keyboard_display == nullptr) return;
  XCloseDisplay(keyboard_display);
  keyboard_display = nullptr;
}

void WindowHost::sleep_until_woken(int timeout_ms) {
  bool pending = false;
  const Doorbell::Waitable window_events = pending_or_descriptor(window_display, pending);
  const Doorbell::Waitable keyboard_events = pending_or_descriptor(keyboard_display, pending);
  if (!pending) doorbell_.wait({window_events, keyboard_events}, timeout_ms);
}

void WindowHost::show_report(const PostedReport& report) { open_dialog(report); }
