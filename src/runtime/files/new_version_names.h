#pragma once
// The names that saves give the new versions of a file while they write them: "vorka.dat" is
// written as "vorka.dat.saving.<8 hex digits>", so that saves of one file never share a new
// version, and the next save knows what a killed one left.
#include <string>

// A name drawn afresh each time, so that programs started alike, or forked, differ.
std::string unique_new_version_name(const std::string& target_name);
// True for a name that this program's saves of the target give their new versions; the bare
// ".saving" name is the single one that earlier versions of the program used.
bool is_new_version_name_of(const std::string& entry, const std::string& target_name);
