#pragma once
// The new version of an output file is written beside the file it replaces, in a file of its
// own, and put in place of it once complete: the old file stays whole until the new one is,
// and two programs saving the same file at once each put a whole file in place. A new version
// that a killed save left behind is removed by the next save of the same file.
//
// Each system does this in a file of its own (file_replacement_posix.cpp and
// file_replacement_win32.cpp), which says what it does with links, owners and folders that
// take no new files.
#include <cstdio>
#include <memory>
#include <string>

#include "runtime/files/file_failure.h"

struct FileReplacement {
  struct State;  // each system's own: where the new version lies, and what holds it
  std::unique_ptr<State, void (*)(State*)> state{nullptr, nullptr};
};

// Opens the new version of the named file for writing: its stream, or nullptr with the cause,
// in which case nothing is left behind. A false unnamed_allowed saves as on a file system
// without unnamed files, where the system has them.
std::FILE* begin_replacement(const std::string& name, FileReplacement& replacement, bool unnamed_allowed,
                             FileFailure& failure);
// Flushes the new version to disk through its stream, puts it in place of the old file and
// closes the stream. Returns the cause of the step that failed, in which case the old file
// stays, or FileFailure::none.
FileFailure finish_replacement(std::FILE* stream, FileReplacement& replacement);
// Closes the stream and drops the unfinished new version: the old file stays as it was.
void abandon_replacement(std::FILE* stream, FileReplacement& replacement);
