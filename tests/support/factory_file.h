#pragma once
// The state file the program writes when it finds none: 17,018 lines, of which the first
// twenty (the colour cells of kinds 0 and 1) and the last eighteen (the kinds cell and the
// eight parameters) are checked here, laid out for 0 kinds as the factory build places them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

constexpr std::size_t state_file_lines = 17018;

inline void expect_factory_file(const std::vector<std::string>& lines) {
  ASSERT_EQ(lines.size(), state_file_lines);
  const std::vector<std::string> first = {" 5 ", " 27 ", " 1 ", " 1 ", " 15 ", " 1 ", " 0 ", " 0 ", " 0 ", " 0 ",
                                          " 9 ", " 27 ", " 2 ", " 1 ", " 15 ", " 1 ", " 0 ", " 0 ", " 0 ", " 0 "};
  const std::vector<std::string> last = {" 1 ", " 26 ", " 3 ", " 1 ", " 39 ", " 1 ", " 1 ", " 0 ", " 0 ",
                                         " 0 ", " 0 ", " 3 ", " 0 ", " 50 ", " 50 ", " 50 ", " 100 ", " .3 "};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 20), first);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 18, lines.end()), last);
}
