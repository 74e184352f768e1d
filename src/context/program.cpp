#include "context/program.h"

#include <memory>

namespace {
std::unique_ptr<Program> owned_program = std::make_unique<Program>();
}

Program* current_program = owned_program.get();

void reset_program() {
  owned_program = std::make_unique<Program>();
  current_program = owned_program.get();
}
