#include "runtime/files/program_folder.h"

#include <windows.h>

#include <string>

std::filesystem::path program_folder(std::error_code& error) {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      error.assign(static_cast<int>(GetLastError()), std::system_category());
      return {};
    }
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(name.size() * 2);  // cut short: the name is longer than the room given
  }
  error.clear();
  return std::filesystem::path(name).parent_path();
}
