#include "runtime/runtime.h"

namespace {
std::unique_ptr<Runtime> owned_runtime = std::make_unique<Runtime>();
}

Runtime* current_runtime = owned_runtime.get();

void start_runtime(Host& host) {
  // The runtime it replaces closes its files as it goes.
  owned_runtime = std::make_unique<Runtime>();
  current_runtime = owned_runtime.get();
  current_runtime->host = &host;
  for (const int code : host.keys_held_at_start()) set_key_held(code, true);
  statement_event_flag.store(false);
  present_screen();
}

void request_stop() {
  Runtime& rt = runtime();
  rt.stop_requested.store(true);
  statement_event_flag.store(true);
  // A stop also ends a pause, so that the paused logic wakes and sees it.
  rt.pause_requested.store(false);
  rt.pause_requested.notify_all();
}

void request_pause(bool paused) {
  Runtime& rt = runtime();
  rt.pause_requested.store(paused);
  if (paused) statement_event_flag.store(true);
  else rt.pause_requested.notify_all();
}
