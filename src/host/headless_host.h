#pragma once
// The host of the tests: no window; it records what the runtime hands it and answers the
// error report from a script.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "runtime/host.h"

struct ErrorReport {
  std::string caption;
  std::string text;
};

class HeadlessHost : public Host {
 public:
  void window_size_changed(int width, int height) override;
  void page_shown(const std::uint8_t* pixels, int width, int height) override;
  bool report_error(const std::string& caption, const std::string& text) override;
  // Recorded among the reports with an empty caption.
  void report_fatal(const std::string& text) override;
  std::vector<int> keys_held_at_start() const override { return held_at_start; }
  std::int64_t clock_counter_ms() const override { return clock_ms; }
  std::int64_t time_of_day_at_next_second_ms() override { return time_of_day_at_base_ms; }
  bool refuses_write() override;
  bool unnamed_new_versions() const override { return unnamed_files; }

  int window_width = 0, window_height = 0;
  int pages_shown = 0;
  std::vector<int> held_at_start;
  // Answers for the error report, oldest first (true is Yes); with none left it answers
  // answer_when_unscripted.
  std::deque<bool> report_answers;
  bool answer_when_unscripted = false;
  std::vector<ErrorReport> reports;
  // The clock of the tests: its counter, which a test advances, and the time of day that the
  // clock base finds.
  std::int64_t clock_ms = 0;
  std::int64_t time_of_day_at_base_ms = 0;
  // Sets the clock to the time of day and takes the current runtime's clock base from it; the
  // runtime must be this host's.
  void start_clock_at(std::int64_t time_of_day_ms);
  // Writes to files that succeed before every later one is refused; -1 for never.
  long writes_until_failure = -1;
  // False saves as on a file system without unnamed files.
  bool unnamed_files = true;
  // Called at every page hand-over, on the logic's thread.
  std::function<void()> on_page_shown;
};
