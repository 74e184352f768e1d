#include "runtime/files/file_paths.h"

namespace {

bool is_drive_letter(char byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

// The end of the part of a name that runs up to its next separator, from the given position.
std::size_t part_end(const std::string& name, std::size_t from) {
  while (from < name.size() && !is_folder_separator(name[from])) ++from;
  return from;
}

}  // namespace

bool is_folder_separator(char byte) { return byte == '\\' || byte == '/'; }

// "C:\" and "\" are roots; so is "C:", which names the current folder of drive C; a name that
// starts with two separators starts with a server and its share ("\\server\share\"), or with a
// device ("\\?\C:\").
std::size_t root_length(const std::string& name) {
  if (name.size() >= 2 && is_drive_letter(name[0]) && name[1] == ':')
    return name.size() >= 3 && is_folder_separator(name[2]) ? 3 : 2;
  if (name.empty() || !is_folder_separator(name[0])) return 0;
  if (name.size() < 2 || !is_folder_separator(name[1])) return 1;
  const std::size_t server_end = part_end(name, 2);
  if (server_end == name.size()) return name.size();
  const std::size_t share_end = part_end(name, server_end + 1);
  return share_end == name.size() ? name.size() : share_end + 1;
}

NameCase system_name_case() { return NameCase::ignored; }
