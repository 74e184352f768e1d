#include "runtime/files/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "runtime/files/file_paths.h"
#include "runtime/files/file_system.h"
#include "runtime/files/new_version_names.h"

// Where the file system allows it, the new version has no name until it is complete (a save
// that is killed leaves nothing behind); elsewhere it gets a unique name, and the next save
// removes those that a killed save left. A symbolic link is saved through: the new version is
// written beside the file the link leads to and replaces that file, and the link stays; a file
// written in place is the one the link leads to as well. The new version takes the old file's
// mode, owner and group where the program may set them.
struct FileReplacement::State {
  std::string path;         // the file replaced: the name opened, with symbolic links followed
  std::string target_name;  // the same file's name within its folder
  int folder = -1;          // that folder, for linking, renaming and flushing the new version
  bool folder_flushable = false;
  bool unnamed = false;     // the new version has no name until it is complete
  bool in_place = false;    // the file itself is being rewritten
  std::string linked_name;  // the new version's name in the folder until the rename, if any
};

namespace {

constexpr int name_attempts = 100;
constexpr int link_hops = 40;  // as many as the system follows before it gives up with ELOOP

// Keeps errno across the clean-up calls of a failure path.
int fail_with(int error_number) {
  errno = error_number;
  return -1;
}

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// True while the name in the folder still leads to the open file.
bool still_named(int folder, const std::string& name, int descriptor) {
  struct stat named {}, open {};
  return fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && fstat(descriptor, &open) == 0 &&
         same_file(named, open);
}

// Removes the new versions that saves killed before their rename left in the folder. A save
// holds a lock on its new version until it closes it, so one that is still running keeps its
// file; the lock of a killed one went with its process.
void remove_stale_temporaries(int folder, const std::string& target_name) {
  const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* entries = fdopendir(listing);
  if (entries == nullptr) {
    close(listing);
    return;
  }
  while (const dirent* entry = readdir(entries)) {
    const std::string name = entry->d_name;
    if (!is_new_version_name_of(name, target_name)) continue;
    int file = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) file = openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) continue;
    struct stat info {};
    if (fstat(file, &info) == 0 && S_ISREG(info.st_mode) && flock(file, LOCK_EX | LOCK_NB) == 0 &&
        still_named(folder, name, file))
      unlinkat(folder, name.c_str(), 0);
    close(file);
  }
  closedir(entries);
}

// The file a name leads to: symbolic links followed, a relative link read from the link's own
// folder. A name that is no link, or leads nowhere yet, leads to itself.
bool follow_links(std::string& path) {
  for (int hop = 0; hop < link_hops; ++hop) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0) return true;
    target.resize(static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : folder_of(path) + "/" + target;
  }
  errno = ELOOP;
  return false;
}

// The new version takes the old file's mode, and its owner and group (or at least its group)
// as far as the program may set them; false with errno set when the mode cannot be set.
bool take_owner_and_mode(int descriptor, const struct stat& old) {
  if (fchown(descriptor, old.st_uid, old.st_gid) != 0)
    static_cast<void>(fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) == 0);
  return fchmod(descriptor, old.st_mode & 07777) == 0;
}

// What opening an unnamed file answers where the file system (or the system) has none.
bool unnamed_unsupported(int error_number) {
  return error_number == EOPNOTSUPP || error_number == EISDIR || error_number == EINVAL;
}

// A new file under a unique name, locked against the clean-up of other saves; -1 with errno set.
int create_named(FileReplacement::State& replacement) {
  for (int attempt = 0; attempt < name_attempts; ++attempt) {
    const std::string name = unique_new_version_name(replacement.target_name);
    const int descriptor = openat(replacement.folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Another save's clean-up may have taken the file between its creation and the lock.
    if (flock(descriptor, LOCK_EX) == 0 && still_named(replacement.folder, name, descriptor)) {
      replacement.linked_name = name;
      return descriptor;
    }
    close(descriptor);
  }
  return fail_with(EEXIST);
}

// Gives the complete unnamed new version a unique name in its folder; 0 or errno.
int link_unnamed(int descriptor, FileReplacement::State& replacement) {
  const std::string open_file_path = "/proc/self/fd/" + std::to_string(descriptor);
  for (int attempt = 0; attempt < name_attempts; ++attempt) {
    const std::string name = unique_new_version_name(replacement.target_name);
    if (linkat(AT_FDCWD, open_file_path.c_str(), replacement.folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      replacement.linked_name = name;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

// Drops an unfinished new version and lets the folder go; the path stays, for the report.
void drop_new_version(FileReplacement::State& replacement) {
  if (!replacement.linked_name.empty()) unlinkat(replacement.folder, replacement.linked_name.c_str(), 0);
  replacement.linked_name.clear();
  if (replacement.folder >= 0) close(replacement.folder);
  replacement.folder = -1;
}

// Opens the new version; returns its descriptor, or -1 with errno set.
int open_new_version(const std::string& name, FileReplacement::State& replacement, bool unnamed_allowed) {
  replacement.path = name;
  if (!follow_links(replacement.path)) return -1;
  replacement.target_name = name_in_folder(replacement.path);
  const std::string folder = folder_of(replacement.path);
  replacement.folder = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  replacement.folder_flushable = replacement.folder >= 0;
  if (replacement.folder < 0) replacement.folder = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (replacement.folder < 0) return -1;

  remove_stale_temporaries(replacement.folder, replacement.target_name);
  struct stat old {};
  const bool old_exists = stat(replacement.path.c_str(), &old) == 0;
  if (!old_exists && errno != ENOENT) return -1;  // a name too long, or a folder that cannot be searched

  // An unnamed file is named through its descriptor's entry in /proc once it is complete.
  const bool unnamed = unnamed_allowed && access("/proc/self/fd", X_OK) == 0;
  int descriptor = -1;
  if (unnamed) {
    descriptor = openat(replacement.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    replacement.unnamed = descriptor >= 0;
    if (descriptor >= 0) flock(descriptor, LOCK_EX);  // held from before it has a name
  }
  if (!unnamed || (descriptor < 0 && unnamed_unsupported(errno))) descriptor = create_named(replacement);
  if (descriptor >= 0 && old_exists && !take_owner_and_mode(descriptor, old)) {
    const int error_number = errno;
    close(descriptor);
    descriptor = fail_with(error_number);
  }
  if (descriptor < 0) {
    const int error_number = errno;
    drop_new_version(replacement);
    return fail_with(error_number);
  }
  return descriptor;
}

// Puts the new version, written and flushed to disk through the descriptor, in place of the old
// one and flushes the folder; returns 0, or the errno of the step that failed.
int put_in_place(int descriptor, FileReplacement::State& replacement) {
  int error_number = 0;
  if (!replacement.in_place) {
    if (replacement.unnamed) error_number = link_unnamed(descriptor, replacement);
    if (error_number == 0) {
      if (renameat(replacement.folder, replacement.linked_name.c_str(), replacement.folder,
                   replacement.target_name.c_str()) == 0)
        replacement.linked_name.clear();
      else
        error_number = errno;
    }
    // The rename lasts through a power cut only once the folder is on disk too; a file system
    // that cannot flush a folder says so with EINVAL.
    if (error_number == 0 && replacement.folder_flushable && fsync(replacement.folder) != 0 && errno != EINVAL &&
        errno != EROFS)
      error_number = errno;
  }
  return error_number;
}

FileReplacement::State& fresh_state(FileReplacement& replacement) {
  replacement.state = {new FileReplacement::State{}, [](FileReplacement::State* state) { delete state; }};
  return *replacement.state;
}

// The stream that writes through the descriptor, which it then owns; when there is none, the
// cause, and nothing is left behind.
std::FILE* stream_or_cause(int descriptor, FileReplacement& replacement, FileFailure& failure) {
  std::FILE* stream = descriptor < 0 ? nullptr : fdopen(descriptor, "wb");
  failure = FileFailure::none;
  if (stream == nullptr) {
    failure = with_missing_folder(file_failure_of_errno(errno), replacement.state->path);
    if (descriptor >= 0) close(descriptor);
    drop_new_version(*replacement.state);
    replacement.state.reset();
  }
  return stream;
}

}  // namespace

bool write_protected(const std::string& name) { return access(name.c_str(), F_OK) == 0 && access(name.c_str(), W_OK) != 0; }

std::FILE* begin_new_version(const std::string& name, FileReplacement& replacement, bool unnamed_allowed,
                             FileFailure& failure) {
  FileReplacement::State& state = fresh_state(replacement);
  return stream_or_cause(open_new_version(name, state, unnamed_allowed), replacement, failure);
}

std::FILE* begin_in_place(const std::string& name, FileReplacement& replacement, FileFailure& failure) {
  FileReplacement::State& state = fresh_state(replacement);
  state.path = name;
  state.in_place = true;
  const int descriptor =
      follow_links(state.path) ? open(state.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666) : -1;
  return stream_or_cause(descriptor, replacement, failure);
}

FileFailure finish_replacement(std::FILE* stream, FileReplacement& replacement) {
  int error_number = 0;
  if (std::fflush(stream) != 0 || fsync(fileno(stream)) != 0) error_number = errno;
  if (error_number == 0) error_number = put_in_place(fileno(stream), *replacement.state);
  drop_new_version(*replacement.state);
  if (std::fclose(stream) != 0 && error_number == 0) error_number = errno;
  replacement.state.reset();
  return file_failure_of_errno(error_number);
}

void abandon_replacement(std::FILE* stream, FileReplacement& replacement) {
  if (replacement.state) drop_new_version(*replacement.state);
  replacement.state.reset();
  std::fclose(stream);
}
