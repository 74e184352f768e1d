#include "runtime/files/file_paths.h"

bool is_folder_separator(char byte) { return byte == '/'; }

std::size_t root_length(const std::string& name) { return !name.empty() && name.front() == '/' ? 1 : 0; }

NameCase system_name_case() { return NameCase::exact; }
