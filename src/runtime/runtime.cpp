#include "runtime/runtime.h"

namespace {
std::unique_ptr<Runtime> owned_runtime = std::make_unique<Runtime>();
}

Runtime* current_runtime = owned_runtime.get();

void start_runtime(Host& host) {
  abandon_all_files();
  owned_runtime = std::make_unique<Runtime>();
  current_runtime = owned_runtime.get();
  current_runtime->host = &host;
  statement_event_flag.store(false);
  reset_screen();
}

void request_stop() {
  runtime().stop_requested.store(true);
  statement_event_flag.store(true);
}

void request_pause(bool paused) {
  runtime().pause_requested.store(paused);
  if (paused) statement_event_flag.store(true);
}
