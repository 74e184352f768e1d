// Damaged state files: each either runs, drawing what its values give, or goes through the
// error report with the message of its failure, and ends in order when the user says No.
// None may crash, reach outside a table or hang.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>

#include "context/program.h"
#include "runtime/keyboard.h"
#include "support/program_run.h"

namespace {

constexpr int yes_answers = 30;
const char* const subscript = "Subscript out of range";
const char* const illegal_call = "Illegal function call";
const char* const past_end = "Input past end of file";
constexpr std::uint8_t escape_key = 27;

// The factory file as the program writes it, read once from a first start of its own; only one
// run may exist at a time, so call it before making another.
std::string factory_file() {
  static const std::string bytes = [] {
    ProgramRun run;
    EXPECT_TRUE(run.start());
    return run.folder.read("vorka.dat");
  }();
  return bytes;
}

// The factory file with some lines (1-based) replaced.
std::string edited(const std::map<int, std::string>& lines) {
  std::string bytes = factory_file(), result;
  std::size_t start = 0;
  for (int number = 1; start < bytes.size(); ++number) {
    const std::size_t end = bytes.find("\r\n", start) + 2;
    const auto edit = lines.find(number);
    result += edit == lines.end() ? bytes.substr(start, end - start) : edit->second + " \r\n";
    start = end;
  }
  return result;
}

constexpr int kinds_line = 17003;
int value_line(int row) { return 10 * row + 3; }
constexpr int shape_line = 17011;
constexpr int maximum_line = 17017;

TEST(DamagedStateFile, RunsOrReportsButNeverCrashesOrHangs) {
  const struct {
    const char* name;
    std::string bytes;
    std::set<std::string> messages;  // empty: it runs without a report
  } cases[] = {
      {"no kinds", edited({{kinds_line, " 0"}}), {}},
      {"40 kinds", edited({{kinds_line, " 40"}}), {}},
      {"102 kinds", edited({{kinds_line, " 102"}}), {subscript}},
      {"1E+09 kinds", edited({{kinds_line, " 1E+09"}}), {subscript}},
      {"-5 kinds", edited({{kinds_line, "-5"}}), {}},
      {"colour 16", edited({{value_line(0), " 16"}}), {subscript, illegal_call}},
      {"colour -1", edited({{value_line(0), "-1"}}), {subscript}},
      {"count 1E+06", edited({{value_line(40), " 1000000"}}), {}},
      {"count -3", edited({{value_line(40), "-3"}}), {}},
      {"shape 7", edited({{shape_line, " 7"}}), {}},
      {"maximum 0", edited({{maximum_line, " 0"}}), {}},
      {"maximum 1E+06", edited({{maximum_line, " 1000000"}}), {}},
      {"text that is no number", edited({{kinds_line, "abc"}, {value_line(41), "x"}}), {}},
      {"one line", " 5 \r\n", {past_end}},
      {"empty file", "", {past_end}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramRun run;
    run.folder.write("vorka.dat", c.bytes);
    run.host.report_answers.assign(yes_answers, true);
    const bool running = run.start() && run.run_frames(4);
    for (const ErrorReport& report : run.host.reports) {
      const std::size_t first_line_end = report.text.find('\n');
      const std::string message = report.text.substr(first_line_end + 1, report.text.rfind('\n') - first_line_end - 1);
      EXPECT_TRUE(c.messages.count(message)) << report.caption << ": " << message;
    }
    if (c.messages.empty()) {
      EXPECT_TRUE(running);
      EXPECT_TRUE(run.host.reports.empty());
    } else {
      EXPECT_FALSE(run.host.reports.empty());
      if (!running) {
        EXPECT_EQ(run.run_to_end(), 0);
      }
    }
  }
}

TEST(DamagedStateFile, AHugeCountShowsAndIsRescaledByTheFirstPass) {
  const std::string bytes = edited({{value_line(40), " 1000000"}});  // before the run: it starts one
  ProgramRun run;
  run.folder.write("vorka.dat", bytes);
  ASSERT_TRUE(run.start());
  EXPECT_EQ(program().total_particles, 1000010);
  ASSERT_TRUE(run.run_frames(1));
  EXPECT_EQ(program().color_count(0), 99);
  EXPECT_EQ(program().color_count(1), 0);
  EXPECT_TRUE(run.host.reports.empty());
}

// Each start reads the file afresh on a fresh runtime: a start after a stop, or after the
// program's own end, shows the same report as the first, whatever the last run left behind.
TEST(DamagedStateFile, EveryStartReportsTheDamageAgain) {
  const std::string bytes = edited({{value_line(0), " 1E+39"}});  // beyond the float range
  ProgramRun run;
  run.host.answer_when_unscripted = true;
  std::optional<ErrorReport> first;
  const auto start_shows_the_report = [&] {
    run.folder.write("vorka.dat", bytes);
    run.host.reports.clear();
    ASSERT_TRUE(run.start());
    ASSERT_EQ(run.host.reports.size(), 1u);
    if (!first) first = run.host.reports[0];
    EXPECT_EQ(run.host.reports[0].caption, first->caption);
    EXPECT_EQ(run.host.reports[0].text, first->text);
    EXPECT_TRUE(run.run_frames(2));
  };
  start_shows_the_report();
  EXPECT_EQ(run.stop(), 0);
  {
    SCOPED_TRACE("after a stop");
    start_shows_the_report();
  }
  queue_key(escape_key, 1);  // saves and ends
  EXPECT_EQ(run.run_to_end(), 0);
  {
    SCOPED_TRACE("after the program's end");
    start_shows_the_report();
  }
}

}  // namespace
