#include "runtime/file_paths.h"

std::string folder_of(const std::string& name) {
  const auto slash = name.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : name.substr(0, slash));
}

std::string name_in_folder(const std::string& name) {
  const auto slash = name.rfind('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}
