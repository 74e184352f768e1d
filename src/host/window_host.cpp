#include "host/window_host.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/failure_notice.h"
#include "host/start_again.h"
#include "runtime/control.h"

namespace {

// freeglut's callbacks are plain functions: they reach the one window through this.
WindowHost* window_host = nullptr;

// A new page is taken at most once a display refresh; pages that come faster wait for the next
// one, and only the newest of them is shown.
constexpr std::chrono::milliseconds take_pace{16};

void on_close() {
  if (window_host != nullptr) window_host->closed();
}
void on_reshape(int width, int height) { window_host->reshaped(width, height); }
void on_display() { window_host->display(); }
void on_keyboard(unsigned char key, int, int) { window_host->typed(key); }
void on_special(int key, int, int) { window_host->special_key(key, true); }
void on_special_up(int key, int, int) { window_host->special_key(key, false); }
void on_mouse(int button, int state, int x, int y) { window_host->mouse_button(button, state, x, y); }
void on_motion(int x, int y) { window_host->mouse_moved(x, y); }

// The program's arguments as main received them, kept for a start made again, while the
// window is being opened.
std::vector<char*> start_arguments;

// freeglut ends the process on a failure of its own (no display, no window). While the window
// is being opened the start is tried again, a few times; else the failure is told where the
// user sees it, and the process ends at once with exit code 1, as freeglut's own ending does,
// without running the exit handlers under a logic thread that may still run.
[[noreturn]] void on_freeglut_failure(const char* format, va_list arguments) {
  char message[512];
  std::vsnprintf(message, sizeof message, format, arguments);
  if (!start_arguments.empty() && start_attempt() < start_attempts) start_again(start_arguments.data());
  show_failure_notice(std::string("particle_swarm: ") + message);
  std::_Exit(1);
}

std::uint32_t packed_size(int width, int height) {
  return static_cast<std::uint32_t>(width) << 16 | static_cast<std::uint32_t>(height & 0xFFFF);
}

}  // namespace

WindowHost::WindowHost(int& argc, char** argv) {
  window_host = this;
  start_arguments.assign(argv, argv + argc + 1);
  glutInitErrorFunc(on_freeglut_failure);
  glutInit(&argc, argv);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA);
  glutInitWindowSize(page_width_wanted_, page_height_wanted_);
  // Without a window manager nobody else places the window, and freeglut's default puts its
  // top row and left column off the screen.
  glutInitWindowPosition(0, 0);
  glutCreateWindow("Untitled");
  start_arguments.clear();
  if (const GLenum status = glewInit(); status != GLEW_OK)
    throw std::runtime_error(std::string("OpenGL cannot be set up: ") +
                             reinterpret_cast<const char*>(glewGetErrorString(status)));
  glGenTextures(1, &texture_);
  glutCloseFunc(on_close);
  glutReshapeFunc(on_reshape);
  glutDisplayFunc(on_display);
  glutKeyboardFunc(on_keyboard);
  glutSpecialFunc(on_special);
  glutSpecialUpFunc(on_special_up);
  glutMouseFunc(on_mouse);
  glutMotionFunc(on_motion);
  glutPassiveMotionFunc(on_motion);
  open_system_side();
}

WindowHost::~WindowHost() {
  // freeglut would take the window down at exit, calling back into a host that is gone.
  window_host = nullptr;
  glutExit();
  close_system_side();
}

void WindowHost::window_size_changed(int width, int height) {
  size_request_.store(packed_size(width, height), std::memory_order_release);
  doorbell_.ring();
}

void WindowHost::page_shown(const std::uint8_t* pixels, int width, int height) {
  if (handover_.publish(pixels, width, height)) doorbell_.ring();
}

bool WindowHost::report_error(const std::string& caption, const std::string& text) {
  return reports_.ask(caption, text);
}

void WindowHost::report_fatal(const std::string& text) { reports_.ask("", text, DialogButtons::ok); }

void WindowHost::logic_ended() {
  logic_ended_.store(true, std::memory_order_release);
  reports_.close();
  doorbell_.ring();
}

void WindowHost::run() {
  // freeglut destroys the window inside glutMainLoopEvent when the close button is used, and
  // the system side may see another program destroy it: after either, the loop ends at once.
  while (!window_gone_ && !logic_ended_.load(std::memory_order_acquire)) {
    poll_system_side();
    if (window_gone_) break;
    apply_size_request();
    take_report();
    take_page_when_due();
    glutMainLoopEvent();
    if (window_gone_) break;
    wait_for_work();
  }
  if (!logic_ended_.load(std::memory_order_acquire)) request_stop();
  reports_.close();
}

void WindowHost::take_page_when_due() {
  const auto now = std::chrono::steady_clock::now();
  if (now < next_take_ || !handover_.take_newest()) return;
  next_take_ = now + take_pace;
  compose();
}

void WindowHost::wait_for_work() {
  int timeout_ms = -1;
  if (handover_.page_waiting()) {
    const auto until_due = std::chrono::ceil<std::chrono::milliseconds>(next_take_ - std::chrono::steady_clock::now());
    if (until_due.count() <= 0) return;
    timeout_ms = static_cast<int>(until_due.count());
  } else if (!handover_.watch_for_page()) {
    return;
  }
  sleep_until_woken(timeout_ms);
}

void WindowHost::closed() {
  window_gone_ = true;
  request_stop();
  reports_.close();
}

void WindowHost::apply_size_request() {
  const std::uint32_t size = size_request_.exchange(0, std::memory_order_acquire);
  if (size == 0) return;
  page_width_wanted_ = static_cast<int>(size >> 16);
  page_height_wanted_ = static_cast<int>(size & 0xFFFF);
  // In full screen the window keeps the screen's size; it takes the page's on leaving.
  if (!full_screen_) glutReshapeWindow(page_width_wanted_, page_height_wanted_);
}

void WindowHost::toggle_full_screen() {
  glutFullScreenToggle();
  full_screen_ = !full_screen_;
  if (!full_screen_) glutReshapeWindow(page_width_wanted_, page_height_wanted_);
}

void WindowHost::take_report() {
  if (std::optional<PostedReport> report = reports_.take_question()) show_report(*report);
}

void WindowHost::open_dialog(const PostedReport& report) {
  const int width = composed_width_ > 0 ? composed_width_ : page_width_wanted_;
  const int height = composed_height_ > 0 ? composed_height_ : page_height_wanted_;
  dialog_.emplace(report.caption, report.text, width, height, report.buttons);
  compose();
}

void WindowHost::answer_report(bool yes) {
  reports_.answer(yes);
  if (!dialog_) return;
  dialog_.reset();
  compose();
}

bool WindowHost::pause_ends() {
  if (!paused_) return false;
  paused_ = false;
  request_pause(false);
  return true;
}

void WindowHost::pause_pressed() {
  if (reports_.answer_awaited() || pause_ends()) return;
  paused_ = true;
  request_pause(true);
}

void WindowHost::stop_pressed() {
  request_stop();
  if (reports_.answer_awaited()) answer_report(false);
}
