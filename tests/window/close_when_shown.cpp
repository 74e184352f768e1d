// Waits for the program's window (titled "Untitled") to be shown, then the given number of
// milliseconds more, and asks it to close as a window manager's close button does: the
// WM_DELETE_WINDOW message of WM_PROTOCOLS. Finding the window here rather than by xdotool keeps
// a round of the window test short on a busy machine.
// Usage: close_when_shown DELAY_MS [TITLE]. Exit code 1 when no window was shown within 20 s.
// TITLE names another window than the program's own, such as a message box of the program.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

const char* wanted_title = "Untitled";

bool is_shown_program_window(Display* display, Window window) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
  const bool named = std::strcmp(name, wanted_title) == 0;
  XFree(name);
  XWindowAttributes attributes;
  return named && XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

Window shown_program_window(Display* display) {
  Window root_return, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count) == 0) return 0;
  for (unsigned i = 0; i < count && found == 0; ++i)
    if (is_shown_program_window(display, children[i])) found = children[i];
  if (children != nullptr) XFree(children);
  return found;
}

// A window that goes away while it is looked at is not an error here.
int ignore_error(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: close_when_shown DELAY_MS [TITLE]\n");
    return 2;
  }
  if (argc == 3) wanted_title = argv[2];
  const auto delay = std::chrono::milliseconds(std::strtol(argv[1], nullptr, 10));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  // A virtual X server busy with many clients may refuse a connection for a moment.
  Display* display = nullptr;
  while ((display = XOpenDisplay(nullptr)) == nullptr) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "close_when_shown: no X display\n");
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XSetErrorHandler(ignore_error);
  Window window = 0;
  while ((window = shown_program_window(display)) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "close_when_shown: no window titled %s\n", wanted_title);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(delay);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return 0;
}
