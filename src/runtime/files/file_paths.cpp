#include "runtime/files/file_paths.h"

namespace {

// Where the last part of a name begins: after its last separator, and never inside its root.
std::size_t last_part_start(const std::string& name) {
  const std::size_t root = root_length(name);
  std::size_t start = name.size();
  while (start > root && !is_folder_separator(name[start - 1])) --start;
  return start;
}

}  // namespace

std::string folder_of(const std::string& name) {
  const std::size_t root = root_length(name);
  const std::size_t start = last_part_start(name);
  if (start == 0) return ".";
  if (start <= root) return name.substr(0, root);
  return name.substr(0, start - 1);
}

std::string folder_part(const std::string& name) { return name.substr(0, last_part_start(name)); }

std::string name_in_folder(const std::string& name) { return name.substr(last_part_start(name)); }
