#pragma once
// The host of the real program: a freeglut window that shows the shown page, scaled to fit,
// and feeds the key and mouse queues. The logic runs on a thread of its own and meets the
// window only through the page hand-over, the queues, the size request and the report mailbox,
// and rings the doorbell when one of them has something for the window, which sleeps otherwise.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/doorbell.h"
#include "host/error_dialog.h"
#include "host/page_fit.h"
#include "host/page_handover.h"
#include "host/report_mailbox.h"
#include "runtime/host.h"

class WindowHost : public Host {
 public:
  // Opens the window, 640 x 400 at the screen's top left corner, titled "Untitled".
  WindowHost(int& argc, char** argv);
  ~WindowHost() override;

  // The logic's side.
  void window_size_changed(int width, int height) override;
  void page_shown(const std::uint8_t* pixels, int width, int height) override;
  bool report_error(const std::string& caption, const std::string& text) override;
  void report_fatal(const std::string& text) override;
  std::vector<int> keys_held_at_start() const override { return keys_held_at_open_; }
  // The logic has returned: the window's loop ends.
  void logic_ended();

  // The window's loop, on the calling thread, until the logic ends or the window is closed or
  // destroyed; in the second case it asks the logic to stop. Once the window is gone no call
  // that needs it is made.
  void run();

  // The window's callbacks (on the window's thread).
  void closed();
  void reshaped(int width, int height);
  void display();
  void typed(unsigned char key);
  void special_key(int key, bool down);
  void mouse_button(int button, int state, int x, int y);
  void mouse_moved(int x, int y);
  // The Pause key, and Ctrl+Break, from the window system's side.
  void pause_pressed();
  void stop_pressed();

 private:
  void apply_size_request();
  void take_page_when_due();
  void wait_for_work();
  void compose();
  void update_fit();
  void toggle_full_screen();
  // A report that waits is shown: as the box drawn over the page (open_dialog), or in the
  // system's own message box where there is one (show_report, on the system's side).
  void take_report();
  void show_report(const PostedReport& report);
  void open_dialog(const PostedReport& report);
  // The report's answer goes to the logic, and a drawn box goes away.
  void answer_report(bool yes);
  bool pause_ends();
  // The window system's own side (window_host_x11.cpp, window_host_win32.cpp), for what
  // freeglut does not report: the Pause and Break keys, the Shift keys already held when the
  // window opens and, where another program can do it, the window's destruction. It also
  // puts the thread to sleep until the window system or the bell has something for it, and
  // takes down a system message box still shown when the window closes.
  void open_system_side();
  void poll_system_side();
  void close_system_side();
  // Returns at once when window events wait; the timeout is in milliseconds, negative for none.
  void sleep_until_woken(int timeout_ms);

  Doorbell doorbell_;
  PageHandover handover_;
  ReportMailbox reports_{[this] { doorbell_.ring(); }};
  std::atomic<std::uint32_t> size_request_{0};  // width << 16 | height; 0 when none waits
  std::atomic<bool> logic_ended_{false};

  // The window thread's own state.
  bool window_gone_ = false;
  std::chrono::steady_clock::time_point next_take_{};
  bool full_screen_ = false;
  int page_width_wanted_ = 640, page_height_wanted_ = 400;
  int window_width_ = 640, window_height_ = 400;
  PageFit fit_;
  std::vector<std::uint8_t> composed_;   // the page with the dialog over it
  std::vector<std::uint32_t> colours_;   // the same in RGBA
  int composed_width_ = 0, composed_height_ = 0;
  unsigned texture_ = 0;
  int texture_width_ = 0, texture_height_ = 0;
  bool texture_stale_ = false;
  std::optional<ErrorDialog> dialog_;
  bool paused_ = false;
  std::vector<int> keys_held_at_open_;  // filled by open_system_side
};
