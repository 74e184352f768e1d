#pragma once
// The whole program on the headless host, in an empty folder of its own, run on a thread of
// its own and held at every frame's page hand-over, so that a test can script input, let it
// run a number of frames and read the pages, the state file and the variables while it waits.
// Every wait is bounded: a program that does not reach the next frame fails the test. The
// runtime is the process's one runtime, so only one run may exist at a time.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "host/headless_host.h"
#include "support/temporary_folder.h"

class ProgramRun {
 public:
  ProgramRun();
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // Starts the logic on a fresh runtime with the test clock at the given time of day and waits
  // until it holds at its first frame. False when it ended (or did not get there) instead. A run
  // that has ended or was stopped can be started again in the same folder, as the program is
  // started again: what was queued before the first start counts for it alone.
  bool start(std::int64_t time_of_day_ms = 0);
  // Lets it run until it has handed over this many more frames. False when it ended first.
  bool run_frames(int frames);
  // Types a key while the logic holds at a frame and runs until its command has run: the next
  // pass takes it and runs it at its end, and the logic holds at the frame after that (after a
  // restart, the first frame of the new start).
  bool run_key(std::uint8_t code, std::uint8_t scan_code = 0);
  // Lets it run freely until it ends by itself; its exit code, or nothing when it did not end.
  std::optional<int> run_to_end();
  // Asks it to stop and waits for the end; its exit code.
  std::optional<int> stop();

  bool ended();
  // Frames handed over since the start, restarts included.
  int frames_shown();

  TemporaryFolder folder;  // first: the folder is the current one before the runtime starts
  HeadlessHost host;

 private:
  void hold_at_frame();
  bool wait(std::unique_lock<std::mutex>& lock, auto done);

  std::mutex mutex_;
  std::condition_variable changed_;
  int frames_ = 0;
  int frames_to_run_ = 0;  // hand-overs the logic may still pass; it holds at the last one
  bool holding_ = false;
  bool free_running_ = false;
  bool finished_ = false;
  bool started_ = false;  // the runtime made by the constructor has served a run
  int exit_code_ = -1;
  std::thread logic_;
};
