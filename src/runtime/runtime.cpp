#include "runtime/runtime.h"

#include <memory>

namespace {
std::unique_ptr<Runtime> owned_runtime = std::make_unique<Runtime>();
}

Runtime* current_runtime = owned_runtime.get();

Runtime& replace_runtime() {
  owned_runtime = std::make_unique<Runtime>();
  current_runtime = owned_runtime.get();
  return *current_runtime;
}
