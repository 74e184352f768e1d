#pragma once
// How a file opened for output is saved: one rule for both systems (file_replacement.cpp), over
// each system's primitives (file_replacement_posix.cpp, file_replacement_win32.cpp), which say
// what they do with links, owners and attributes.
// - A file that exists and is write-protected is not saved.
// - Else a new version is written beside the file, in a file of its own, and put in place of it
//   once complete: the old file stays whole until the new one is, and two programs saving the
//   same file at once each put a whole file in place. A new version that a killed save left
//   behind is removed by the next save of the same file.
// - Where that cannot be (a folder that takes no new files, or on Windows a file that another
//   program holds open without letting it be renamed), the file itself is written in place
//   when it opens for writing: only such a save, cut short, leaves a short file.
// - The save fails only where the file itself cannot be opened for writing.
// A refusal that may pass in a moment (FileFailure::in_use) is tried again briefly first.
#include <cstdio>
#include <memory>
#include <string>

#include "runtime/files/file_failure.h"

struct FileReplacement {
  struct State;  // each system's own: where the new version lies, and what holds it
  std::unique_ptr<State, void (*)(State*)> state{nullptr, nullptr};
};

// The rule: the stream to write the file's new contents to, or nullptr with the cause. The
// close puts them in place (finish_replacement) or drops them (abandon_replacement).
std::FILE* begin_save(const std::string& name, FileReplacement& replacement, bool unnamed_allowed, FileFailure& failure);

// The primitives of each system.

// True when the named file exists and its write protection refuses writing it.
bool write_protected(const std::string& name);

// Opens the new version of the named file for writing: its stream, or nullptr with the cause,
// in which case nothing is left behind. A false unnamed_allowed saves as on a file system
// without unnamed files, where the system has them.
std::FILE* begin_new_version(const std::string& name, FileReplacement& replacement, bool unnamed_allowed,
                             FileFailure& failure);
// Opens the named file itself for writing, created when missing and emptied: its stream, or
// nullptr with the cause.
std::FILE* begin_in_place(const std::string& name, FileReplacement& replacement, FileFailure& failure);

// Flushes the file to disk through its stream, puts a new version in place of the old file and
// closes the stream. Returns the cause of the step that failed, in which case a replaced file
// stays as it was, or FileFailure::none.
FileFailure finish_replacement(std::FILE* stream, FileReplacement& replacement);
// Closes the stream and drops an unfinished new version: the old file stays as it was.
void abandon_replacement(std::FILE* stream, FileReplacement& replacement);
