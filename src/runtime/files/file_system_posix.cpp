#include "runtime/files/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

FileIdentity identity_of(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

bool is_folder(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::FILE* open_for_reading(const std::string& name, FileFailure& failure) {
  std::FILE* stream = std::fopen(name.c_str(), "rb");
  failure = stream == nullptr ? with_missing_folder(file_failure_of_errno(errno), name) : FileFailure::none;
  return stream;
}

std::vector<FolderEntry> folder_entries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return entries;
  while (const dirent* entry = readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({name, is_folder(folder + "/" + name)});
  }
  closedir(listing);
  return entries;
}

FileFailure delete_file(const std::string& name) {
  return unlink(name.c_str()) == 0 ? FileFailure::none : file_failure_of_errno(errno);
}

std::optional<FileIdentity> identity_of_file(const std::string& name) {
  struct stat info {};
  if (stat(name.c_str(), &info) != 0) return std::nullopt;
  return identity_of(info);
}

std::optional<FileIdentity> identity_of_stream(std::FILE* stream) {
  struct stat info {};
  if (fstat(fileno(stream), &info) != 0) return std::nullopt;
  return identity_of(info);
}
