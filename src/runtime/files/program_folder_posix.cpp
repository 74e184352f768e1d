#include "runtime/files/program_folder.h"

std::filesystem::path program_folder(std::error_code& error) {
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
}
