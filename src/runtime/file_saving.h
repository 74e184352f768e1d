#pragma once
// How a file opened for output is saved, the same rule on both systems, over each system's
// primitives (file_replacement.h):
// - a file that exists and is write-protected is not saved;
// - else the new version is written beside the file and replaces it when complete, so a save
//   cut short leaves the old file whole;
// - where that cannot be (a folder that takes no new files, or on Windows a file that another
//   program holds open without letting it be renamed), the file itself is written in place
//   when it opens for writing: only such a save, cut short, leaves a short file;
// - the save fails only where the file itself cannot be opened for writing.
// A refusal that may pass in a moment (FileFailure::in_use) is tried again briefly first.
#include <cstdio>
#include <string>

#include "runtime/file_replacement.h"

// The stream to write the file's new contents to, or nullptr with the cause; the close puts
// them in place (finish_replacement) or drops them (abandon_replacement).
std::FILE* begin_save(const std::string& name, FileReplacement& replacement, bool unnamed_allowed, FileFailure& failure);
