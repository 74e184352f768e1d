#pragma once
// The screen runtime's own state, beside the logic's context, in two parts: what a restart
// clears and what it keeps.
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

// What a restart clears. A restart replaces it with a fresh value, so a field that stands here
// starts every run as its initialiser says.
struct RunState {
  ScreenState screen;
  std::uint32_t seed = random_start_seed;
  FailureState failures;
  FileTable files;
};

// What a restart keeps: the host with its window, the input queues, the clock base and the
// window thread's requests.
struct KeptState {
  Host* host = nullptr;
  ClockState clock;
  KeyQueue keys;
  HeldKeys held_keys;
  MouseQueue mouse;
  std::atomic<bool> stop_requested{false};
  std::atomic<bool> pause_requested{false};
};

struct Runtime : KeptState, RunState {};

extern Runtime* current_runtime;
inline Runtime& runtime() { return *current_runtime; }

// A runtime as at program start (empty queues, start seed, text screen) for the given host,
// with the keys that the host found held.
void start_runtime(Host& host);

// Requests from the window thread, seen by the logic at the end of its current step; a stop
// also ends a pause.
void request_stop();
void request_pause(bool paused);
