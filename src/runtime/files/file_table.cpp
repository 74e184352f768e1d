#include "runtime/files/file_table.h"

#include <utility>

void abandon_file(OpenedFile& file) {
  if (file.stream == nullptr) return;
  if (file.mode == file_mode_output) abandon_replacement(file.stream, file.replacement);
  else std::fclose(file.stream);
  file = OpenedFile{};
}

FileTable::FileTable(FileTable&& other) noexcept : files(std::exchange(other.files, {})) {}

FileTable& FileTable::operator=(FileTable&& other) noexcept {
  if (this == &other) return *this;
  for (OpenedFile& file : files) abandon_file(file);
  files = std::exchange(other.files, {});
  return *this;
}

FileTable::~FileTable() {
  for (OpenedFile& file : files) abandon_file(file);
}
