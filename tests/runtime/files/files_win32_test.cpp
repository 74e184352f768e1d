// The file operations' failures and file identity as only Windows' files show them.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/files/files.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

class FilesOnWindows : public FreshProgram {
 protected:
  void TearDown() override { abandon_all_files(); }
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

}  // namespace
