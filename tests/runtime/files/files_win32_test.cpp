// The file operations' failures and file identity as only Windows' files show them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/files/files.h"
#include "runtime/files/wide_names_win32.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

class FilesOnWindows : public FreshProgram {
 protected:
  void TearDown() override { abandon_all_files(); }

  // The names in the folder as it lists them, as UTF-8, letters in the case they were given.
  std::vector<std::string> names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      names.push_back(utf8_name(entry.path().filename().wstring()));
    std::sort(names.begin(), names.end());
    return names;
  }
  // Saves one line under the UTF-8 name; the failure the save raised, 0 for none.
  static int save(const std::string& name, const std::string& line) {
    open_file(name, file_mode_output, 1);
    file_print_text(1, line, true, false, true);
    close_file(1);
    return take_failure();
  }

  TemporaryFolder folder;
};

TEST_F(FilesOnWindows, NamesThatWindowsRefusesAreBadNames) {
  const struct {
    const char* what;
    const char* name;
  } cases[] = {
      {"a character no name may hold", "what?.dat"},
      {"a pipe character", "a|b.dat"},
      {"bytes that are no UTF-8", "\xff\xfe.dat"},
  };
  for (const auto& c : cases) {
    for (const int mode : {file_mode_input, file_mode_output}) {
      open_file(c.name, mode, 1);
      EXPECT_EQ(take_failure(), 64) << c.what << ", mode " << mode;
      abandon_all_files();
    }
  }
}

// Every file has an identity of its own: deleting one while another is open works, deleting
// the open one is refused, and so is deleting a read-only file.
TEST_F(FilesOnWindows, KillTellsFilesApartAndIsRefusedByWriteProtection) {
  folder.write("open.dat", "1");
  folder.write("other.dat", "2");
  folder.write("protected.dat", "3");
  open_file("open.dat", file_mode_input, 1);
  kill_files("other.dat");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_FALSE(folder.exists("other.dat"));
  kill_files("open.dat");
  EXPECT_EQ(take_failure(), 55);
  close_file(1);

  ASSERT_TRUE(SetFileAttributesW(L"protected.dat", FILE_ATTRIBUTE_READONLY));
  kill_files("protected.dat");
  EXPECT_EQ(take_failure(), 55);
  EXPECT_TRUE(folder.exists("protected.dat"));
  SetFileAttributesW(L"protected.dat", FILE_ATTRIBUTE_NORMAL);
}

// Windows compares names without case: a VORKA.DAT copied in is the program's vorka.dat, to
// delete by that name or by a pattern, and to save over, keeping one file.
TEST_F(FilesOnWindows, NamesMatchWithoutCase) {
  folder.write("VORKA.DAT", "1");
  kill_files("vorka.dat");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_TRUE(names().empty());

  const char* const accented = "\xc3\x81RV\xc3\x8dZ.DAT";  // "ARVIZ" with two accented capitals
  for (const char* name : {"VORKA.DAT", "Other.Dat", accented}) ASSERT_EQ(save(name, " 1"), 0);
  kill_files("*.dAT");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_TRUE(names().empty());
  ASSERT_EQ(save(accented, " 1"), 0);
  ASSERT_EQ(names(), std::vector<std::string>{accented});
  kill_files("\xc3\xa1rv\xc3\xadz.dat");
  EXPECT_EQ(take_failure(), 0);
  EXPECT_TRUE(names().empty());

  folder.write("VORKA.DAT", "old\r\n");
  EXPECT_EQ(save("vorka.dat", " 1"), 0);
  ASSERT_EQ(names().size(), 1u);
  EXPECT_EQ(folder.read(names()[0]), " 1 \r\n");
}

}  // namespace
