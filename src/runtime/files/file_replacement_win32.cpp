#include "runtime/files/file_replacement.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#include "runtime/files/file_failure_win32.h"
#include "runtime/files/file_paths.h"
#include "runtime/files/file_system.h"
#include "runtime/files/new_version_names.h"
#include "runtime/files/wide_names_win32.h"

// The new version gets a unique name beside the file and is held open from its creation until
// it has taken the file's place, so the clean-up of another save, which deletes only the new
// versions that nobody holds, leaves it alone; a killed save's handles went with its process.
// The old file is checked before anything is written: a read-only file, one that another
// program holds against changes, and a folder that takes no new files fail the open, and the
// old file stays as it was.
struct FileReplacement::State {
  std::wstring target;       // the file replaced, as named
  std::wstring new_version;  // the new version beside it, until it takes the target's place
  HANDLE handle = INVALID_HANDLE_VALUE;  // the new version's, owned by the stream once it has one
};

namespace {

constexpr int name_attempts = 100;
// A save that meets another save, or a program that looks at the file for a moment, waits this
// long for it before it gives up.
constexpr auto sharing_patience = std::chrono::milliseconds(1000);
constexpr DWORD share_everything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool held_by_another(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Runs the step until it succeeds, or fails for a cause other than a file held by another
// handle, or the patience runs out; returns the last error, ERROR_SUCCESS when it succeeded.
template <typename Step>
DWORD with_patience(Step step) {
  const auto give_up = std::chrono::steady_clock::now() + sharing_patience;
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (step()) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    if (!held_by_another(error) || std::chrono::steady_clock::now() >= give_up) return error;
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
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

// The old file may be replaced: it is not read-only, and no other program holds it against
// writing or renaming. A missing file is no obstacle.
FileFailure replaceable(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? FileFailure::none : file_failure_of_system_error(error);
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return FileFailure::access_refused;
  HANDLE probe = INVALID_HANDLE_VALUE;
  const DWORD error = with_patience([&] {
    probe = CreateFileW(target.c_str(), GENERIC_WRITE | DELETE, share_everything, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return probe != INVALID_HANDLE_VALUE;
  });
  if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
  return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND ? FileFailure::none : file_failure_of_system_error(error);
}

// Creates the new version under a unique name, held open; the cause when the folder takes none.
FileFailure create_new_version(const std::wstring& folder_part, const std::string& target_name,
                               FileReplacement::State& state) {
  for (int attempt = 0; attempt < name_attempts; ++attempt) {
    state.new_version = in_folder(folder_part, unique_new_version_name(target_name));
    state.handle = CreateFileW(state.new_version.c_str(), GENERIC_WRITE, share_everything, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

std::FILE* begin_replacement(const std::string& name, FileReplacement& replacement, bool, FileFailure& failure) {
  const std::optional<std::wstring> target = wide_name(name);
  const std::optional<std::wstring> folder = folder_part_of(name);
  if (!target || !folder) {
    failure = FileFailure::bad_name;
    return nullptr;
  }
  replacement.state = {new FileReplacement::State{}, [](FileReplacement::State* state) { delete state; }};
  FileReplacement::State& state = *replacement.state;
  state.target = *target;
  failure = with_missing_folder(replaceable(state.target), name);
  if (failure == FileFailure::none) {
    remove_abandoned_new_versions(*folder, name_in_folder(name));
    failure = with_missing_folder(create_new_version(*folder, name_in_folder(name), state), name);
  }
  std::FILE* stream = nullptr;
  if (failure == FileFailure::none) {
    stream = stream_of(state.handle);
    if (stream == nullptr) failure = FileFailure::other;
  }
  if (stream == nullptr) {
    delete_new_version(state);
    replacement.state.reset();
  }
  return stream;
}

FileFailure finish_replacement(std::FILE* stream, FileReplacement& replacement) {
  FileReplacement::State& state = *replacement.state;
  FileFailure failure = FileFailure::none;
  if (std::fflush(stream) != 0) failure = file_failure_of_errno(errno);
  else if (!FlushFileBuffers(state.handle)) failure = last_file_failure();
  // Put in place while still held, so that no other save takes it for abandoned.
  if (failure == FileFailure::none) {
    const DWORD error = with_patience([&] {
      return MoveFileExW(state.new_version.c_str(), state.target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
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
