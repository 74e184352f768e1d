#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "support/fresh_program.h"

namespace {

using PrintUsing = FreshProgram;

std::string formatted(float value) {
  std::string text;
  print_using_single("###.##", value, text);
  return text;
}

TEST_F(PrintUsing, TemplateRoundsTheExactValueAndMarksWideFields) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {0, "  0.00"},       {0.3f, "  0.30"},      {0.35f, "  0.35"},       {0.006f, "  0.01"},
      {1.5f, "  1.50"},    {12.25f, " 12.25"},    {123.456f, "123.46"},    {999.996f, "%1000.00"},
      {1234.5f, "%1234.50"}, {-0.3f, " -0.30"},   {-12.5f, "-12.50"},      {-123, "%-123.00"},
      // An exact tie rounds up; a value stored just below a tie rounds down.
      {0.125f, "  0.13"},  {2.675f, "  2.67"},    {0.005f, "  0.00"},      {999.994f, "999.99"},
      {-99.999f, "%-100.00"}, {-0.001f, " -0.00"},
      {3.4028235e38f, "%340282346638528859811704183484516925440.00"},
      {std::numeric_limits<float>::infinity(), "%INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatted(c.value), c.text) << c.value;
}

TEST_F(PrintUsing, AppendsToTheOutputAndDoesNothingWhileAFailureIsPending) {
  std::string text = "x=";
  print_using_single("###.##", 0.3f, text);
  EXPECT_EQ(text, "x=  0.30");
  runtime().failures.pending = 6;
  print_using_single("###.##", 1, text);
  EXPECT_EQ(text, "x=  0.30");
  runtime().failures.pending = 0;
  print_using_single("#,#", 1, text);
  EXPECT_EQ(text, "x=  0.30");
  EXPECT_EQ(runtime().failures.pending, 5);
}

}  // namespace
