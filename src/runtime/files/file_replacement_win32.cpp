#include "runtime/files/file_replacement.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <optional>

#include "runtime/files/brief_retries.h"
#include "runtime/files/file_failure_win32.h"
#include "runtime/files/file_paths.h"
#include "runtime/files/file_system.h"
#include "runtime/files/new_version_names.h"
#include "runtime/files/wide_names_win32.h"

// The new version gets a unique name beside the file and is held open from its creation until
// it has taken the file's place, so the clean-up of another save, which deletes only the new
// versions that nobody holds, leaves it alone; a killed save's handles went with its process.
// Before anything is written the old file is checked to be one that may be written and renamed
// (no other program holds it against that), so that a save that cannot replace it is known
// while it can still be written in place. The new version takes the old file's attributes:
// hidden, system, archive and the like.
struct FileReplacement::State {
  std::wstring target;       // the file replaced, as named
  std::wstring new_version;  // the new version beside it, until it takes the target's place
  HANDLE handle = INVALID_HANDLE_VALUE;  // the file's, owned by the stream once it has one
  bool in_place = false;     // the file itself is being written
};

namespace {

constexpr int name_attempts = 100;
constexpr DWORD share_everything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The attributes a new version takes from the file it replaces.
constexpr DWORD kept_attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A file that another save, or a program looking at it, holds for a moment refuses to be
// renamed over, or opened for that, with denied access as well as with a sharing violation.
bool held_by_another(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

std::wstring in_folder(const std::wstring& folder_part, const std::string& name) {
  return folder_part + wide_name(name).value_or(L"");
}

// Deletes the new versions of the target that no save holds any more.
void remove_abandoned_new_versions(const std::wstring& folder_part, const std::string& target_name) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = folder_part + wide_name(target_name).value_or(L"") + L".saving*";
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string entry = utf8_name(found.cFileName);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !is_new_version_name_of(entry, target_name)) continue;
    // Opened for no one else: this fails while a live save holds the file.
    const HANDLE abandoned = CreateFileW(in_folder(folder_part, entry).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (abandoned != INVALID_HANDLE_VALUE) CloseHandle(abandoned);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// The old file may be replaced: no other program holds it against writing or renaming. A
// missing file is no obstacle. Its attributes, for the new version, when it is there.
FileFailure replaceable(const std::wstring& target, DWORD& attributes) {
  attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? FileFailure::none : file_failure_of_system_error(error);
  }
  const HANDLE probe = CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, share_everything, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return held_by_another(error) ? FileFailure::in_use : file_failure_of_system_error(error);
  }
  CloseHandle(probe);
  return FileFailure::none;
}

// Creates the new version under a unique name, held open, with the old file's attributes; the
// cause when the folder takes none.
FileFailure create_new_version(const std::wstring& folder_part, const std::string& target_name, DWORD old_attributes,
                               FileReplacement::State& state) {
  const DWORD attributes = old_attributes == INVALID_FILE_ATTRIBUTES || (old_attributes & kept_attributes) == 0
                               ? FILE_ATTRIBUTE_NORMAL
                               : old_attributes & kept_attributes;
  for (int attempt = 0; attempt < name_attempts; ++attempt) {
    state.new_version = in_folder(folder_part, unique_new_version_name(target_name));
    state.handle = CreateFileW(state.new_version.c_str(), GENERIC_WRITE, share_everything, nullptr, CREATE_NEW,
                               attributes, nullptr);
    if (state.handle != INVALID_HANDLE_VALUE) return FileFailure::none;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      state.new_version.clear();
      return file_failure_of_system_error(error);
    }
  }
  state.new_version.clear();
  return FileFailure::other;
}

// The stream that writes through the handle, which it then owns; the handle is closed when
// there is none.
std::FILE* stream_of(HANDLE handle) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (descriptor < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* stream = _fdopen(descriptor, "wb");
  if (stream == nullptr) _close(descriptor);
  return stream;
}

void delete_new_version(FileReplacement::State& state) {
  if (!state.new_version.empty()) DeleteFileW(state.new_version.c_str());
  state.new_version.clear();
}

std::optional<std::wstring> folder_part_of(const std::string& name) { return wide_name(folder_part(name)); }

FileReplacement::State& fresh_state(FileReplacement& replacement) {
  replacement.state = {new FileReplacement::State{}, [](FileReplacement::State* state) { delete state; }};
  return *replacement.state;
}

// Drops what a failed opening made: the new version, if any, and the state.
std::FILE* dropped(FileReplacement& replacement) {
  delete_new_version(*replacement.state);
  replacement.state.reset();
  return nullptr;
}

// The stream that writes through the opened handle; when there is none, the cause, and
// nothing is left behind.
std::FILE* stream_or_cause(FileReplacement& replacement, FileFailure& failure) {
  std::FILE* stream = stream_of(replacement.state->handle);
  if (stream != nullptr) return stream;
  failure = FileFailure::other;
  return dropped(replacement);
}

}  // namespace

bool write_protected(const std::string& name) {
  const std::optional<std::wstring> wide = wide_name(name);
  if (!wide) return false;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::FILE* begin_new_version(const std::string& name, FileReplacement& replacement, bool, FileFailure& failure) {
  const std::optional<std::wstring> target = wide_name(name);
  const std::optional<std::wstring> folder = folder_part_of(name);
  if (!target || !folder) {
    failure = FileFailure::bad_name;
    return nullptr;
  }
  FileReplacement::State& state = fresh_state(replacement);
  state.target = *target;
  DWORD old_attributes = INVALID_FILE_ATTRIBUTES;
  failure = with_missing_folder(replaceable(state.target, old_attributes), name);
  if (failure == FileFailure::none) {
    remove_abandoned_new_versions(*folder, name_in_folder(name));
    failure = with_missing_folder(create_new_version(*folder, name_in_folder(name), old_attributes, state), name);
  }
  return failure == FileFailure::none ? stream_or_cause(replacement, failure) : dropped(replacement);
}

std::FILE* begin_in_place(const std::string& name, FileReplacement& replacement, FileFailure& failure) {
  const std::optional<std::wstring> target = wide_name(name);
  if (!target) {
    failure = FileFailure::bad_name;
    return nullptr;
  }
  FileReplacement::State& state = fresh_state(replacement);
  state.target = *target;
  state.in_place = true;
  // Opened rather than created afresh, which a hidden or system file would refuse; then emptied.
  state.handle = CreateFileW(state.target.c_str(), GENERIC_WRITE, share_everything, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  failure = FileFailure::none;
  if (state.handle == INVALID_HANDLE_VALUE) failure = with_missing_folder(last_file_failure(), name);
  else if (!SetEndOfFile(state.handle)) failure = last_file_failure();
  if (failure != FileFailure::none) {
    if (state.handle != INVALID_HANDLE_VALUE) CloseHandle(state.handle);
    return dropped(replacement);
  }
  return stream_or_cause(replacement, failure);
}

FileFailure finish_replacement(std::FILE* stream, FileReplacement& replacement) {
  FileReplacement::State& state = *replacement.state;
  FileFailure failure = FileFailure::none;
  if (std::fflush(stream) != 0) failure = file_failure_of_errno(errno);
  else if (!FlushFileBuffers(state.handle)) failure = last_file_failure();
  // Put in place while still held, so that no other save takes it for abandoned.
  if (failure == FileFailure::none && !state.in_place) {
    const DWORD error = retried_briefly(
        [&] {
          return MoveFileExW(state.new_version.c_str(), state.target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                     ? DWORD{ERROR_SUCCESS}
                     : GetLastError();
        },
        held_by_another);
    if (error == ERROR_SUCCESS) state.new_version.clear();
    else failure = file_failure_of_system_error(error);
  }
  if (std::fclose(stream) != 0 && failure == FileFailure::none) failure = file_failure_of_errno(errno);
  delete_new_version(state);
  replacement.state.reset();
  return failure;
}

void abandon_replacement(std::FILE* stream, FileReplacement& replacement) {
  std::fclose(stream);  // Windows deletes no file that is still open
  if (replacement.state) delete_new_version(*replacement.state);
  replacement.state.reset();
}
