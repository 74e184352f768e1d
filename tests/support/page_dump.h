#pragma once
// Pixel tests: when a test has failed, its drawing page is written to
// page_dumps/<suite>.<test>.png under the folder the test runs in (the build folder under ctest),
// so that a person can look at what was drawn.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "host/png_writer.h"
#include "runtime/screen.h"
#include "support/fresh_program.h"

inline void dump_drawing_page_if_failed() {
  if (!::testing::Test::HasFailure()) return;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const std::filesystem::path folder = std::filesystem::absolute("page_dumps");
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / (name + ".png");
  if (write_page_png(drawing_page(), file.string()))
    std::cerr << "drawing page written to " << file.string() << "\n";
  else
    std::cerr << "could not write the drawing page to " << file.string() << "\n";
}

// A fresh program whose drawing page is dumped when the test fails.
class FreshPixelProgram : public FreshProgram {
 protected:
  void TearDown() override {
    dump_drawing_page_if_failed();
    FreshProgram::TearDown();
  }
};
