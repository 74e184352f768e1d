#pragma once
// The screen runtime's own state, beside the logic's context, in two parts: what a restart
// clears and what it keeps. The runtime's services reach it with runtime().
#include <atomic>
#include <cstdint>

#include "runtime/clock_state.h"
#include "runtime/failure_state.h"
#include "runtime/files/file_table.h"
#include "runtime/host.h"
#include "runtime/key_queue.h"
#include "runtime/mouse_queue.h"
#include "runtime/pause_gate.h"
#include "runtime/screen_state.h"

// The random generator's seed at program start and after every restart.
constexpr unsigned random_start_seed = 0x50000;

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
  PauseGate pause;
  // Set by a failure, a stop request or a pause request: the end of the step must look.
  std::atomic<bool> statement_event{false};
};

struct Runtime : KeptState, RunState {};

extern Runtime* current_runtime;
inline Runtime& runtime() { return *current_runtime; }

// Replaces the current runtime with a fresh one, as at program start; the one it replaces
// closes its files as it goes. start_runtime (control.h) gives it its host.
Runtime& replace_runtime();
