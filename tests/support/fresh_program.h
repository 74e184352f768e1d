#pragma once
// A fresh runtime and program context for each test, on the headless host.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "context/program.h"
#include "host/headless_host.h"
#include "model/cell_rows.h"
#include "runtime/control.h"
#include "runtime/random.h"
#include "runtime/runtime.h"

class FreshProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    start_runtime(host);
    reset_program();
  }

  // The pending failure code, cleared as the report's Yes clears it (0 when none).
  static int take_failure() {
    const int code = runtime().failures.pending;
    runtime().failures.pending = 0;
    return code;
  }

  // The next n values of the generator, leaving it where it was.
  static std::vector<float> next_draws(int n) {
    const std::uint32_t seed = runtime().seed;
    std::vector<float> draws;
    for (int i = 0; i < n; ++i) draws.push_back(rnd());
    runtime().seed = seed;
    return draws;
  }

  HeadlessHost host;
};
