#include "runtime/files/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

// One number read from a file, with the failure the read raised.
struct Read {
  double value;
  int failure;
  bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Read& read) {
  return out << "(" << read.value << ", failure " << read.failure << ")";
}

// Each test works in an empty current folder of its own, with relative names.
class Files : public FreshProgram {
 protected:
  void TearDown() override { abandon_all_files(); }

  std::vector<std::string> names_in_folder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Reads count values from the file's bytes, each with the failure it raised.
  std::vector<Read> read_values(const std::string& bytes, int count) {
    folder.write("input.dat", bytes);
    open_file("input.dat", file_mode_input, 1);
    EXPECT_EQ(take_failure(), 0);
    std::vector<Read> reads;
    for (int i = 0; i < count; ++i) {
      const double value = file_read_number(1);
      reads.push_back({value, take_failure()});
    }
    close_file(1);
    return reads;
  }

  TemporaryFolder folder;
};

TEST_F(Files, ReadsNumbersBetweenTheirSeparators) {
  using R = Read;
  const struct {
    const char* what;
    std::string bytes;
    std::vector<Read> reads;
  } cases[] = {
      {"state-file lines", " 5 \r\n .3 \r\n", {R{5, 0}, R{0.3, 0}, R{0, 62}}},
      {"exponent", "-1E+15 \r\n", {R{-1e15, 0}, R{0, 62}}},
      {"comma, lone CR, lone LF, LF CR", "1,2\r3\n4\n\r5", {R{1, 0}, R{2, 0}, R{3, 0}, R{4, 0}, R{5, 0}, R{0, 62}}},
      {"blanks then a line end are one separator", "6   \r\n7", {R{6, 0}, R{7, 0}, R{0, 62}}},
      {"blanks then another item", "8  9", {R{8, 0}, R{9, 0}, R{0, 62}}},
      {"junk before the separator is skipped", "12abc,34x \r\n56", {R{12, 0}, R{34, 0}, R{56, 0}}},
      {"an empty line reads as 0", "\r\n5", {R{0, 0}, R{5, 0}}},
      {"text that is not a number reads as 0", "abc\r\n7", {R{0, 0}, R{7, 0}}},
      {"byte 26 ends the file where it stands", "8\r\n\x1a" "9\r\n", {R{8, 0}, R{0, 62}, R{0, 62}}},
      {"byte 26 inside a number", "12\x1a" "34", {R{12, 0}, R{0, 62}}},
      {"empty file", "", {R{0, 62}}},
      {"above the single range", "1E39,4", {R{0, 6}, R{4, 0}}},
      {"the single range's top", "3.402823466E+38", {R{3.402823466e38, 0}}},
      {"hexadecimal and octal", "&H1F,&o17", {R{31, 0}, R{15, 0}}},
      {"only 17 significant digits count", "9007199254740993.00001", {R{9007199254740992.0, 0}}},
  };
  for (const auto& c : cases) EXPECT_EQ(read_values(c.bytes, static_cast<int>(c.reads.size())), c.reads) << c.what;
  EXPECT_EQ(static_cast<float>(read_values(" .3 \r\n", 1)[0].value), 0.3f);
}

TEST_F(Files, PrintWritesTextBlankAndLineEnd) {
  open_file("out.dat", file_mode_output, 1);
  file_print_text(1, " 5", true, false, true);
  file_print_text(1, "-1E+15", true, false, true);
  file_print_text(1, "ab", false, true, false);  // to the next 14-column zone
  file_print_text(1, "c", false, true, true);
  close_file(1);
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(folder.read("out.dat"), " 5 \r\n-1E+15 \r\nab" + std::string(12, ' ') + "c" + std::string(13, ' ') + "\r\n");
}

TEST_F(Files, FailuresOfOpeningReadingAndWriting) {
  folder.write("there.dat", "1\r\n");
  fs::create_directory("folder.dat");
  const std::string too_long(300, 'x');
  const struct {
    const char* what;
    std::function<void()> action;
    int failure;
  } cases[] = {
      {"a missing file", [&] { open_file("missing.dat", file_mode_input, 1); }, 53},
      {"a missing folder, reading", [&] { open_file("no/such.dat", file_mode_input, 1); }, 76},
      {"a missing folder, writing", [&] { open_file("no/such.dat", file_mode_output, 1); }, 76},
      {"a file on the way, reading", [&] { open_file("there.dat/such.dat", file_mode_input, 1); }, 76},
      {"a file on the way, writing", [&] { open_file("there.dat/such.dat", file_mode_output, 1); }, 76},
      {"a folder in the file's place, reading", [&] { open_file("folder.dat", file_mode_input, 1); }, 70},
      {"a folder in the file's place, writing", [&] { open_file("folder.dat", file_mode_output, 1); }, 70},
      {"an empty name", [&] { open_file("", file_mode_output, 1); }, 64},
      {"a name too long, reading", [&] { open_file(too_long, file_mode_input, 1); }, 64},
      {"a name too long, writing", [&] { open_file(too_long, file_mode_output, 1); }, 64},
      {"file number 0", [&] { open_file("there.dat", file_mode_input, 0); }, 52},
      {"a number already open",
       [&] {
         open_file("there.dat", file_mode_input, 1);
         open_file("there.dat", file_mode_input, 1);
       },
       55},
      {"reading a file not open", [] { file_read_number(2); }, 52},
      {"writing a file not open", [] { file_print_text(2, "x", true, false, true); }, 52},
      {"reading a file open for writing",
       [&] {
         open_file("new.dat", file_mode_output, 2);
         file_read_number(2);
       },
       54},
      {"writing a file open for reading",
       [&] {
         open_file("there.dat", file_mode_input, 3);
         file_print_text(3, "x", true, false, true);
       },
       54},
  };
  for (const auto& c : cases) {
    c.action();
    EXPECT_EQ(take_failure(), c.failure) << c.what;
    abandon_all_files();
  }
  EXPECT_EQ(folder.read("there.dat"), "1\r\n");
  EXPECT_TRUE(fs::is_directory("folder.dat"));
}

TEST_F(Files, OperationsDoNothingWhileAFailureIsPending) {
  raise_error(9);
  open_file("out.dat", file_mode_output, 1);
  EXPECT_EQ(take_failure(), 9);
  file_print_text(1, "x", true, false, true);
  EXPECT_EQ(take_failure(), 52);  // the open did not happen
  EXPECT_FALSE(folder.exists("out.dat"));
}

TEST_F(Files, KillDeletesMatchingFilesOnly) {
  for (const char* name : {"a.dat", "bb.dat", "c.dat", "c.txt", "[x].dat"}) folder.write(name, "1");
  fs::create_directory(folder.path() + "/d.dat");
  kill_files("?.dat");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"[x].dat", "bb.dat", "c.txt", "d.dat"}));
  kill_files("[x].dat");  // brackets are no wildcard
  kill_files("*t");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"d.dat"}));

  kill_files("*.dat");  // a folder is no file
  EXPECT_EQ(take_failure(), 53);
  kill_files("no/such.dat");
  EXPECT_EQ(take_failure(), 53);

  folder.write("open.dat", "1");
  open_file("open.dat", file_mode_input, 1);
  kill_files("open.dat");
  EXPECT_EQ(take_failure(), 55);
  close_file(1);
  kill_files("open.dat");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_FALSE(folder.exists("open.dat"));
}

TEST_F(Files, SaveReplacesTheOldFileOnlyWhenItIsComplete) {
  folder.write("state.dat", "old\r\n");
  open_file("state.dat", file_mode_output, 1);
  file_print_text(1, " 1", true, false, true);
  EXPECT_EQ(folder.read("state.dat"), "old\r\n");  // untouched while the new one is written
  close_file(1);
  EXPECT_EQ(take_failure(), 0);
  EXPECT_EQ(folder.read("state.dat"), " 1 \r\n");
  EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"state.dat"}));
}

TEST_F(Files, SaveCutShortKeepsTheOldFile) {
  folder.write("state.dat", "old\r\n");

  host.writes_until_failure = 1;
  open_file("state.dat", file_mode_output, 1);
  file_print_text(1, " 1", true, false, true);
  EXPECT_EQ(take_failure(), 0);
  file_print_text(1, " 2", true, false, true);
  EXPECT_EQ(take_failure(), 75);
  file_print_text(1, " 3", true, false, true);  // skipped: the new file is lost already
  close_file(1);
  EXPECT_EQ(take_failure(), 0);  // reported once, at the failing write
  EXPECT_EQ(folder.read("state.dat"), "old\r\n");
  EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"state.dat"}));

  host.writes_until_failure = -1;
  open_file("state.dat", file_mode_output, 1);
  file_print_text(1, " 1", true, false, true);
  abandon_all_files();  // the program ended, or restarted, in the middle of the save
  EXPECT_EQ(folder.read("state.dat"), "old\r\n");
  EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"state.dat"}));
}

}  // namespace
