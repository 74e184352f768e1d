#pragma once
// The screen runtime's own state, beside the logic's context. A restart keeps most of it: the
// window, the queues and the clock base.
#include <atomic>
#include <cstdint>
#include <memory>

#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/files.h"
#include "runtime/host.h"
#include "runtime/keyboard.h"
#include "runtime/mouse.h"
#include "runtime/random.h"
#include "runtime/screen.h"

struct Runtime {
  Host* host = nullptr;
  FailureState failures;
  std::uint32_t seed = random_start_seed;
  ClockState clock;
  KeyQueue keys;
  HeldKeys held_keys;
  MouseQueue mouse;
  FileTable files;
  ScreenState screen;
  std::atomic<bool> stop_requested{false};
  std::atomic<bool> pause_requested{false};
};

extern Runtime* current_runtime;
inline Runtime& runtime() { return *current_runtime; }

// A runtime as at program start (empty queues, start seed, text screen) for the given host,
// with the keys that the host found held.
void start_runtime(Host& host);

// Requests from the window thread, seen by the logic at the end of its current step; a stop
// also ends a pause.
void request_stop();
void request_pause(bool paused);
