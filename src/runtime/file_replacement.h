#pragma once
// The new version of an output file is written beside the file it replaces, in a file of its
// own, and renamed over it once complete: the old file stays whole until the new one is, and
// two programs saving the same file at once each put a whole file in place.
//
// Where the file system allows it, the new version has no name until it is complete (a save
// that is killed leaves nothing behind); elsewhere it gets a unique name, and the next save
// removes those that a killed save left. A symbolic link is saved through: the new version is
// written beside the file the link leads to and replaces that file, and the link stays. A
// folder that takes no new files, holding a file that can be written, has that file rewritten
// in place.
#include <string>

struct FileReplacement {
  std::string path;         // the file replaced: the name opened, with symbolic links followed
  std::string target_name;  // the same file's name within its folder
  int folder = -1;          // that folder, for linking, renaming and flushing the new version
  bool folder_flushable = false;
  bool unnamed = false;     // the new version has no name until it is complete
  bool in_place = false;    // the file itself is being rewritten
  std::string linked_name;  // the new version's name in the folder until the rename, if any
};

// Opens the new version of the named file for writing, with the mode, owner and group of the
// file it replaces where the program may set them; returns its descriptor, or -1 with errno set.
// A false unnamed_allowed takes the unique-name path of file systems without unnamed files.
int begin_replacement(const std::string& name, FileReplacement& replacement, bool unnamed_allowed);
// Puts the new version, written and flushed to disk through the descriptor, in place of the
// old one and flushes the folder; returns 0, or the errno of the step that failed, in which
// case the old file stays. The descriptor stays open for its owner to close.
int finish_replacement(int descriptor, FileReplacement& replacement);
// Drops an unfinished new version: the old file stays as it was. The path stays, for the
// failure's report.
void abandon_replacement(FileReplacement& replacement);
