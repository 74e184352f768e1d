#include "host/headless_host.h"

#include "runtime/clock.h"

void HeadlessHost::window_size_changed(int width, int height) {
  window_width = width;
  window_height = height;
}

void HeadlessHost::page_shown(const std::uint8_t*, int, int) {
  ++pages_shown;
  if (on_page_shown) on_page_shown();
}

bool HeadlessHost::report_error(const std::string& caption, const std::string& text) {
  reports.push_back({caption, text});
  if (report_answers.empty()) return answer_when_unscripted;
  const bool answer = report_answers.front();
  report_answers.pop_front();
  return answer;
}

void HeadlessHost::report_fatal(const std::string& text) { reports.push_back({"", text}); }

bool HeadlessHost::refuses_write() {
  if (writes_until_failure == 0) return true;
  if (writes_until_failure > 0) --writes_until_failure;
  return false;
}

void HeadlessHost::start_clock_at(std::int64_t time_of_day_ms) {
  clock_ms = 0;
  time_of_day_at_base_ms = time_of_day_ms;
  take_clock_base();
}
