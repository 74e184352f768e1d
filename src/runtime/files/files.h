#pragma once
// Files by number: open, close, print, read and delete, as the logic calls them.
#include <string>

#include "runtime/files/file_table.h"

void open_file(const std::string& name, int mode, int file_number);
void close_file(int file_number, bool number_given = true);
void file_print_text(int file_number, const std::string& text, bool add_blank, bool add_zone, bool add_line_end);
double file_read_number(int file_number);
void kill_files(const std::string& pattern);

// Closes every file without putting unfinished output in place: the end of the program and a
// restart abandon what was being written.
void abandon_all_files();
