#pragma once
// What the file operations ask of the operating system besides the saves' new versions; each
// system answers in a file of its own. Names are as the runtime takes them (file_paths.h).
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "runtime/files/file_failure.h"

bool is_folder(const std::string& name);
// A missing file whose folder is missing too is a missing folder: some systems answer both
// with one error.
FileFailure with_missing_folder(FileFailure failure, const std::string& name);

// Opens an existing file for reading its bytes; nullptr, with the cause, when it cannot.
std::FILE* open_for_reading(const std::string& name, FileFailure& failure);

struct FolderEntry {
  std::string name;
  bool folder = false;  // a folder, or a name that leads to one
};
// The entries of a folder, without "." and ".."; none when the folder cannot be read.
std::vector<FolderEntry> folder_entries(const std::string& folder);

FileFailure delete_file(const std::string& name);

// What tells two files apart, whatever names they are reached by.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identity_of_file(const std::string& name);
std::optional<FileIdentity> identity_of_stream(std::FILE* stream);
