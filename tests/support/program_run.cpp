#include "support/program_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/logic_thread.h"
#include "runtime/clock.h"
#include "runtime/control.h"
#include "runtime/keyboard.h"
#include "runtime/runtime.h"

namespace {
constexpr auto wait_bound = std::chrono::seconds(120);
}

ProgramRun::ProgramRun() {
  start_runtime(host);
  host.on_page_shown = [this] { hold_at_frame(); };
}

ProgramRun::~ProgramRun() {
  if (!logic_.joinable()) return;
  if (!stop()) {
    // A logic thread that ignores the stop would go on using the next test's runtime.
    std::fputs("the program's logic did not end\n", stderr);
    std::abort();
  }
}

// Runs on the logic thread at every hand-over of a page; only graphics frames count, not the
// text screen of start-up and restarts.
void ProgramRun::hold_at_frame() {
  if (runtime().screen.mode != graphics_mode) return;
  std::unique_lock lock(mutex_);
  ++frames_;
  if (free_running_ || --frames_to_run_ > 0) return;
  holding_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return frames_to_run_ > 0 || free_running_; });
  holding_ = false;
}

bool ProgramRun::wait(std::unique_lock<std::mutex>& lock, auto done) {
  if (changed_.wait_for(lock, wait_bound, done)) return true;
  ADD_FAILURE() << "the program did not get there in time";
  return false;
}

bool ProgramRun::start(std::int64_t time_of_day_ms) {
  if (logic_.joinable()) {
    if (!run_to_end()) return false;
    start_runtime(host);
  }
  host.start_clock_at(time_of_day_ms);
  {
    std::lock_guard lock(mutex_);
    frames_ = 0;
    frames_to_run_ = 1;
    holding_ = free_running_ = finished_ = false;
    exit_code_ = -1;
  }
  logic_ = std::thread([this] {
    const int code = run_logic();
    std::lock_guard lock(mutex_);
    exit_code_ = code;
    finished_ = true;
    changed_.notify_all();
  });
  std::unique_lock lock(mutex_);
  return wait(lock, [this] { return holding_ || finished_; }) && !finished_;
}

bool ProgramRun::run_frames(int frames) {
  std::unique_lock lock(mutex_);
  if (finished_ || !holding_) return false;
  const int target = frames_ + frames;
  frames_to_run_ = frames;
  changed_.notify_all();
  return wait(lock, [&] { return (holding_ && frames_ >= target) || finished_; }) && !finished_;
}

bool ProgramRun::run_key(std::uint8_t code, std::uint8_t scan_code) {
  queue_key(code, scan_code);
  return run_frames(2);
}

std::optional<int> ProgramRun::run_to_end() {
  std::unique_lock lock(mutex_);
  free_running_ = true;
  changed_.notify_all();
  if (!wait(lock, [this] { return finished_; })) return std::nullopt;
  lock.unlock();
  if (logic_.joinable()) logic_.join();
  return exit_code_;
}

std::optional<int> ProgramRun::stop() {
  request_stop();
  return run_to_end();
}

bool ProgramRun::ended() {
  std::lock_guard lock(mutex_);
  return finished_;
}

int ProgramRun::frames_shown() {
  std::lock_guard lock(mutex_);
  return frames_;
}
