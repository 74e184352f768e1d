#pragma once
// The open files by number. An output file is saved by the rule of file_replacement.h: where it
// can be, as a new version beside its own that its close puts in place, so that a save cut
// short leaves the old file whole.
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>

#include "runtime/files/file_replacement.h"

enum FileMode : int {
  file_mode_input = 3,
  file_mode_output = 4,
};

struct OpenedFile {
  std::FILE* stream = nullptr;
  int mode = 0;
  std::string name;            // the name it was opened by
  FileReplacement replacement;  // output only: the new version, put in place by its close
  bool write_failed = false;
  std::size_t column = 0;      // output only: bytes written since the last line end, for zones
};

// The files by number. It owns them: a table that is destroyed or replaced closes the files it
// holds, without putting unfinished output in place.
struct FileTable {
  std::array<OpenedFile, 256> files{};

  FileTable() = default;
  FileTable(FileTable&& other) noexcept;
  FileTable& operator=(FileTable&& other) noexcept;
  ~FileTable();
};

// Closes the file without putting unfinished output in place, and frees its number.
void abandon_file(OpenedFile& file);
