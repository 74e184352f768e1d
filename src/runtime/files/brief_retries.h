#pragma once
// A file that another program holds for a moment (a virus scanner, a sync program, another
// save) is tried again, at growing intervals, for about a second before its failure stands.
#include <algorithm>
#include <chrono>
#include <thread>

constexpr auto brief_retry_patience = std::chrono::milliseconds(1000);

// Runs the step until its result is not transient, or the patience runs out; returns the last
// result.
template <typename Step, typename Transient>
auto retried_briefly(Step step, Transient transient) {
  const auto give_up = std::chrono::steady_clock::now() + brief_retry_patience;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    const auto result = step();
    if (!transient(result) || std::chrono::steady_clock::now() >= give_up) return result;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}
