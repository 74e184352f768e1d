#include "runtime/files/file_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(FilePathsOnWindows, AFolderAndTheNameInIt) {
  const struct {
    const char* name;
    const char* folder;
    const char* folder_part;
    const char* last_part;
  } cases[] = {
      {"vorka.dat", ".", "", "vorka.dat"},
      {"a\\vorka.dat", "a", "a\\", "vorka.dat"},
      {"a/b\\vorka.dat", "a/b", "a/b\\", "vorka.dat"},
      {"C:\\vorka.dat", "C:\\", "C:\\", "vorka.dat"},
      {"C:vorka.dat", "C:", "C:", "vorka.dat"},  // in the current folder of drive C
      {"d:/a/vorka.dat", "d:/a", "d:/a/", "vorka.dat"},
      {"\\vorka.dat", "\\", "\\", "vorka.dat"},
      {"\\\\server\\share\\vorka.dat", "\\\\server\\share\\", "\\\\server\\share\\", "vorka.dat"},
      {"\\\\server\\share\\a\\vorka.dat", "\\\\server\\share\\a", "\\\\server\\share\\a\\", "vorka.dat"},
      {"\\\\?\\C:\\vorka.dat", "\\\\?\\C:\\", "\\\\?\\C:\\", "vorka.dat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(folder_of(c.name), c.folder) << c.name;
    EXPECT_EQ(folder_part(c.name), c.folder_part) << c.name;
    EXPECT_EQ(name_in_folder(c.name), c.last_part) << c.name;
  }
}

}  // namespace
