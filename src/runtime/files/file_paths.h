#pragma once
// File names as the runtime takes them: relative to the current folder or absolute, with the
// system's separators between folders ("/", and on Windows "\" too, where a name may also
// start with a drive letter or a server's share). On Windows a name's bytes are UTF-8.
#include <cstddef>
#include <string>

#include "runtime/files/name_matching.h"

// The folder a name lies in, as a name of its own: "." for a bare name, the root itself ("/",
// "C:\", "C:") for a name in a root folder.
std::string folder_of(const std::string& name);
// The name up to and including its last separator: "" for a bare name.
std::string folder_part(const std::string& name);
// The last part of a name, without its folder.
std::string name_in_folder(const std::string& name);

// Each system's own: whether a byte separates folders, and the length of the root a name
// starts with, 0 for a name relative to the current folder.
bool is_folder_separator(char byte);
std::size_t root_length(const std::string& name);
// Each system's own: how its file systems compare names.
NameCase system_name_case();
