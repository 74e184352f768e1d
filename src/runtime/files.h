#pragma once
// Files by number. An output file is saved by the rule of file_replacement.h: where it can be, as a
// new version beside its own that its close puts in place, so that a save cut short leaves the
// old file whole.
#include <array>
#include <cstdio>
#include <string>

#include "runtime/file_replacement.h"

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

void open_file(const std::string& name, int mode, int file_number);
void close_file(int file_number, bool number_given = true);
void file_print_text(int file_number, const std::string& text, bool add_blank, bool add_zone, bool add_line_end);
double file_read_number(int file_number);
void kill_files(const std::string& pattern);

// Closes every file without putting unfinished output in place: the end of the program and a
// restart abandon what was being written.
void abandon_all_files();
