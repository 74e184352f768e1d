#include "state/state_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/control.h"
#include "support/factory_file.h"
#include "support/fresh_program.h"
#include "support/rule_rows.h"
#include "support/temporary_folder.h"
#include "ui/text_tables.h"

namespace {

constexpr int file_lines = state_file_lines;

// The text of a state file whose lines hold the given number texts.
std::string file_of(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const std::string& text : texts) bytes += text + " \r\n";
  return bytes;
}

class StateFile : public FreshProgram {
 protected:
  TemporaryFolder folder;
};

TEST_F(StateFile, ValuesSurviveASaveAndALoadExactly) {
  const struct {
    int row, field;
    float value;
    const char* line;
  } cases[] = {
      {0, 0, 9999999, " 9999999 "}, {0, 1, -9999999, "-9999999 "}, {5, 2, -1, "-1 "},
      {80, 2, 1, " 1 "},            {1700, 2, 3, " 3 "},           {1699, 9, 0.3f, " .3 "},
      {1690, 7, 1234567, " 1234567 "}, {12, 3, -0.5f, "-.5 "},     {13, 4, 0.35f, " .35 "},
  };
  auto& g = program();
  for (const auto& c : cases) g.model_table(c.row, c.field) = c.value;
  const float parameters[] = {2, 3, 1, 50, 50, 75, 100, 0.3f};
  float UiVars::* const fields[] = {&UiVars::particle_shape,     &UiVars::particle_size, &UiVars::cube_confine,
                                     &UiVars::step_size,          &UiVars::central_attraction,
                                     &UiVars::circle_radius,      &UiVars::max_particles, &UiVars::auto_rotate_speed};
  for (int p = 0; p < 8; ++p) g.*fields[p] = parameters[p];

  save_state();
  const auto lines = folder.lines("vorka.dat");
  ASSERT_EQ(lines.size(), file_lines);
  for (const auto& c : cases) EXPECT_EQ(lines[10 * c.row + c.field], c.line) << c.row;
  EXPECT_EQ(lines[17010], " 2 ");
  EXPECT_EQ(lines[17015], " 75 ");
  EXPECT_EQ(lines[17017], " .3 ");
  EXPECT_FALSE(folder.exists("vorka.dat.saving"));

  reset_program();
  load_state();
  auto& loaded = program();
  for (const auto& c : cases) EXPECT_EQ(loaded.model_table(c.row, c.field), c.value) << c.row;
  for (int p = 0; p < 8; ++p) EXPECT_EQ(loaded.*fields[p], parameters[p]) << p;
  EXPECT_EQ(loaded.model_table(2, 2), 0);
  EXPECT_TRUE(host.reports.empty());
  // The kind tables are derived from the loaded cells.
  EXPECT_EQ(loaded.kind_colour(5), -1);
}

TEST_F(StateFile, AFileThatCannotBeOpenedLeadsToTheFactoryFileAndARestart) {
  // As start-up leaves them before the load.
  init_tables();
  program().cell_w = 4;
  program().cell_h = 1;
  folder.write("vorka.dat.unrelated", "x");
  EXPECT_THROW(load_state(), ErrorTrapTaken);
  EXPECT_EQ(runtime().failures.handled, 53);
  EXPECT_THROW(handle_missing_state(), RestartRequest);
  EXPECT_TRUE(host.reports.empty());

  const auto lines = folder.lines("vorka.dat");
  expect_factory_file(lines);
  const std::string bytes = folder.read("vorka.dat");
  EXPECT_EQ(bytes.substr(0, 11), std::string(" 5 \r\n 27 \r\n"));
  EXPECT_EQ(bytes.substr(bytes.size() - 6), std::string(" .3 \r\n"));
  // Count cells on row 26, colour cells on row 27, the rules of kind r on row 28 + r.
  EXPECT_EQ(lines[10 * 41 + 1], " 26 ");
  EXPECT_EQ(lines[10 * 2 + 1], " 27 ");
  EXPECT_EQ(lines[10 * rule_table_row(5, 7) + 1], " 33 ");
  EXPECT_EQ(lines[10 * 16 + 2], " 2 ");  // colours repeat 1-15
}

TEST_F(StateFile, AShortFileReportsEachMissingValueAndReadsZeros) {
  std::vector<std::string> texts(100, " 7");
  folder.write("vorka.dat", file_of(texts));
  host.answer_when_unscripted = true;
  load_state();
  ASSERT_EQ(host.reports.size(), static_cast<std::size_t>(file_lines - 100));
  EXPECT_EQ(host.reports.front().caption, "Unhandled Error #62");
  EXPECT_NE(host.reports.back().text.find("\nInput past end of file\nContinue?"), std::string::npos);
  auto& g = program();
  EXPECT_EQ(g.model_table(9, 9), 7);
  EXPECT_EQ(g.model_table(10, 0), 0);
  EXPECT_EQ(n_kinds(), 0);
  EXPECT_EQ(g.auto_rotate_speed, 0);
}

TEST_F(StateFile, AnsweringNoToAShortFileEndsTheProgram) {
  folder.write("vorka.dat", "");
  host.report_answers = {false};
  try {
    load_state();
    FAIL() << "the load went on";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.exit_code, 0);
  }
  EXPECT_EQ(host.reports.size(), 1u);
}

TEST_F(StateFile, AValueBeyondTheSingleRangeReportsOverflowAndReadsZero) {
  std::vector<std::string> texts(file_lines, " 4");
  texts[2] = " 3.5E+38";
  folder.write("vorka.dat", file_of(texts));
  host.report_answers = {true};
  load_state();
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0].caption, "Unhandled Error #6");
  EXPECT_NE(host.reports[0].text.find("\nOverflow\n"), std::string::npos);
  EXPECT_EQ(program().model_table(0, 2), 0);
  EXPECT_EQ(program().model_table(0, 3), 4);
}

TEST_F(StateFile, LinesAfterTheLastValueAreIgnoredAndDroppedByTheNextSave) {
  std::vector<std::string> texts(file_lines + 5, " 8");
  texts[file_lines] = " 99";
  folder.write("vorka.dat", file_of(texts));
  load_state();
  EXPECT_TRUE(host.reports.empty());
  EXPECT_EQ(program().auto_rotate_speed, 8);
  save_state();
  const auto lines = folder.lines("vorka.dat");
  ASSERT_EQ(lines.size(), file_lines);
  EXPECT_EQ(lines.back(), " 8 ");
}

TEST_F(StateFile, AFailedSaveIsReportedOnceAndKeepsThePreviousFile) {
  const std::string previous = file_of(std::vector<std::string>(file_lines, " 1"));
  const struct {
    const char* name;
    long writes_until_failure;
  } cases[] = {
      {"write refused part way", 5000},
      {"first write refused", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    folder.write("vorka.dat", previous);
    host.writes_until_failure = c.writes_until_failure;
    host.reports.clear();
    host.report_answers = {true};
    save_state();
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_EQ(folder.read("vorka.dat"), previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);
  }
}

}  // namespace
