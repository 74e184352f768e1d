// Measures the time from a key press to the first shown picture that reflects it, on the
// program's window (titled "Untitled") on the X display: each round presses "q", which starts
// the program again with its particles scattered, waits until they fill the picture, presses
// "c", which gathers every particle in the centre, and times until the particles' colours (1, 2
// and 3) have left the picture outside the centre. Before the rounds it counts the distinct
// pictures the window shows in two seconds, which is the pass rate while that stays below the
// window's own rate. Meant for a model of three kinds whose swarm fills the picture at first.
// Usage: key_latency [ROUNDS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The watched part of the 640 x 480 picture: right of the parameter panel, above the cell grid,
// without the centre where the gathered particles are drawn.
constexpr int watch_left = 200, watch_top = 40, watch_width = 400, watch_height = 310;
constexpr int centre_left = 270, centre_top = 170, centre_right = 370, centre_bottom = 270;

Window program_window(Display* display) {
  Window root_return, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count);
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (std::strcmp(name, "Untitled") == 0) found = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

struct Picture {
  int particle_pixels = 0;  // of the colours 1, 2 and 3 outside the centre
  unsigned long hash = 0;
};

Picture look(Display* display, Window window) {
  Picture picture;
  XImage* image = XGetImage(display, window, watch_left, watch_top, watch_width, watch_height, AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  for (int y = 0; y < watch_height; ++y)
    for (int x = 0; x < watch_width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      picture.hash = picture.hash * 1000003 ^ pixel;
      const int page_x = watch_left + x, page_y = watch_top + y;
      if (page_x >= centre_left && page_x < centre_right && page_y >= centre_top && page_y < centre_bottom) continue;
      // Blue, green and cyan of the palette: 0x0000AA, 0x00AA00, 0x00AAAA.
      if (pixel == 0x0000AA || pixel == 0x00AA00 || pixel == 0x00AAAA) ++picture.particle_pixels;
    }
  XDestroyImage(image);
  return picture;
}

void press(Display* display, Window window, KeySym symbol) {
  XEvent event{};
  event.xkey.display = display;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display);
  event.xkey.time = CurrentTime;
  event.xkey.same_screen = True;
  event.xkey.keycode = XKeysymToKeycode(display, symbol);
  for (const int type : {KeyPress, KeyRelease}) {
    event.xkey.type = type;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
  }
  XFlush(display);
}

// Waits until the picture's particle pixels pass the test and gives their number; -1 after the
// time limit.
template <typename Test>
int wait_for(Display* display, Window window, Test test, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < deadline)
    if (const int pixels = look(display, window).particle_pixels; test(pixels)) return pixels;
  return -1;
}

// The window is smaller for a moment while the program starts again; that look finds nothing.
int ignore_error(Display*, XErrorEvent*) { return 0; }

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 20;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "key_latency: no X display\n");
    return 1;
  }
  XSetErrorHandler(ignore_error);
  const Window window = program_window(display);
  if (window == 0) {
    std::fprintf(stderr, "key_latency: no window titled Untitled\n");
    return 1;
  }
  // The pointer rests over the parameter panel, away from the menu and the rotation circle.
  XWarpPointer(display, None, window, 0, 0, 0, 0, 100, 60);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::seconds(1));

  // The fullest picture of the first second after a new start is the measure of a scattered
  // swarm.
  press(display, window, XK_q);
  int scattered = 0;
  for (const auto end = Clock::now() + std::chrono::seconds(1); Clock::now() < end;)
    scattered = std::max(scattered, look(display, window).particle_pixels);
  if (scattered < 1000) {
    std::fprintf(stderr, "key_latency: only %d particle pixels; the model does not fill the picture\n", scattered);
    return 1;
  }

  int distinct = 0;
  unsigned long last_hash = 0;
  for (const auto end = Clock::now() + std::chrono::seconds(2); Clock::now() < end;) {
    const Picture picture = look(display, window);
    if (picture.hash != last_hash) ++distinct;
    last_hash = picture.hash;
  }
  std::printf("distinct pictures shown: %.1f per second\n", distinct / 2.0);

  std::mt19937 random(12345);
  std::vector<double> latencies;
  for (int round = 0; round < rounds; ++round) {
    press(display, window, XK_q);
    if (wait_for(display, window, [&](int pixels) { return pixels * 2 > scattered; }, 20) < 0) {
      std::fprintf(stderr, "key_latency: the particles did not scatter after q\n");
      return 1;
    }
    // A random phase against the program's passes, short enough that the swarm stays spread.
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<>(0, 50)(random)));
    const int before = look(display, window).particle_pixels;
    const auto pressed = Clock::now();
    press(display, window, XK_c);
    if (wait_for(display, window, [&](int pixels) { return pixels * 10 < before; }, 10) < 0) {
      std::fprintf(stderr, "key_latency: the particles did not gather after c\n");
      return 1;
    }
    latencies.push_back(milliseconds(Clock::now() - pressed));
  }
  std::sort(latencies.begin(), latencies.end());
  double sum = 0;
  for (const double latency : latencies) sum += latency;
  std::printf("key to picture over %d presses: min %.0f ms, median %.0f ms, mean %.0f ms, max %.0f ms\n", rounds,
              latencies.front(), latencies[latencies.size() / 2], sum / latencies.size(), latencies.back());
  XCloseDisplay(display);
  return 0;
}
