#include "host/start_again.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr char attempt_variable[] = "PARTICLE_SWARM_START_ATTEMPT";

}  // namespace

int start_attempt() {
  const char* value = std::getenv(attempt_variable);
  const int attempt = value != nullptr ? std::atoi(value) : 1;
  return attempt >= 1 ? attempt : 1;
}

void start_again(char* const* arguments) {
  const int attempt = start_attempt();
  std::this_thread::sleep_for(std::chrono::milliseconds(500 * attempt));
  run_again_with(attempt_variable, std::to_string(attempt + 1), arguments);
}
