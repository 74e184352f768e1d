#include "runtime/files/file_system.h"

#include "runtime/files/file_paths.h"

FileFailure with_missing_folder(FileFailure failure, const std::string& name) {
  if (failure == FileFailure::file_missing && !is_folder(folder_of(name))) return FileFailure::folder_missing;
  return failure;
}
