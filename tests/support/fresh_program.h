#pragma once
// A fresh runtime and program context for each test, on the headless host.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/headless_host.h"
#include "platform/runtime.h"

class FreshProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    start_runtime(host);
    reset_program();
  }

  HeadlessHost host;
};
