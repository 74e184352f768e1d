#include "host/window_host.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <stdexcept>
#include <string>

#include "runtime/runtime.h"

namespace {

// freeglut's callbacks are plain functions: they reach the one window through this.
WindowHost* window_host = nullptr;

constexpr unsigned tick_ms = 16;   // a redraw every tick
constexpr unsigned ticks_per_take = 2;  // a fresh copy of the shown page every other tick

void on_tick(int) { window_host->tick(); }
void on_close() { window_host->closed(); }
void on_reshape(int width, int height) { window_host->reshaped(width, height); }
void on_display() { window_host->display(); }
void on_keyboard(unsigned char key, int, int) { window_host->typed(key); }
void on_special(int key, int, int) { window_host->special_key(key, true); }
void on_special_up(int key, int, int) { window_host->special_key(key, false); }
void on_mouse(int button, int state, int x, int y) { window_host->mouse_button(button, state, x, y); }
void on_motion(int x, int y) { window_host->mouse_moved(x, y); }

std::uint32_t packed_size(int width, int height) {
  return static_cast<std::uint32_t>(width) << 16 | static_cast<std::uint32_t>(height & 0xFFFF);
}

}  // namespace

WindowHost::WindowHost(int& argc, char** argv) {
  window_host = this;
  glutInit(&argc, argv);
  glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGBA);
  glutInitWindowSize(page_width_wanted_, page_height_wanted_);
  glutCreateWindow("Untitled");
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
  open_keyboard_side();
  glutTimerFunc(tick_ms, on_tick, 0);
}

WindowHost::~WindowHost() {
  close_keyboard_side();
  window_host = nullptr;
}

void WindowHost::window_size_changed(int width, int height) {
  size_request_.store(packed_size(width, height), std::memory_order_release);
}

void WindowHost::page_shown(const std::uint8_t* pixels, int width, int height) {
  handover_.publish(pixels, width, height);
}

bool WindowHost::report_error(const std::string& caption, const std::string& text) {
  return reports_.ask(caption, text);
}

void WindowHost::logic_ended() {
  logic_ended_.store(true, std::memory_order_release);
  reports_.close();
}

void WindowHost::run() {
  glutMainLoop();
  if (!logic_ended_.load(std::memory_order_acquire)) request_stop();
  reports_.close();
}

void WindowHost::tick() {
  if (logic_ended_.load(std::memory_order_acquire)) {
    glutLeaveMainLoop();
    return;
  }
  apply_size_request();
  poll_keyboard_side();
  if (!dialog_) open_dialog();
  if (++ticks_ % ticks_per_take == 0) take_page();
  glutPostRedisplay();
  glutTimerFunc(tick_ms, on_tick, 0);
}

void WindowHost::closed() {
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

void WindowHost::open_dialog() {
  std::optional<PostedReport> report = reports_.take_question();
  if (!report) return;
  const int width = composed_width_ > 0 ? composed_width_ : page_width_wanted_;
  const int height = composed_height_ > 0 ? composed_height_ : page_height_wanted_;
  dialog_.emplace(report->caption, report->text, width, height);
  compose();
}

void WindowHost::close_dialog(bool yes) {
  dialog_.reset();
  reports_.answer(yes);
  compose();
}

bool WindowHost::pause_ends() {
  if (!paused_) return false;
  paused_ = false;
  request_pause(false);
  return true;
}

void WindowHost::pause_pressed() {
  if (dialog_ || pause_ends()) return;
  paused_ = true;
  request_pause(true);
}

void WindowHost::stop_pressed() {
  request_stop();
  if (dialog_) close_dialog(false);
}
