#pragma once
// File names as the runtime takes them: relative to the current folder or absolute, with "/"
// between folders.
#include <string>

// The folder a name lies in: "." for a bare name, "/" for a name in the root folder.
std::string folder_of(const std::string& name);
// The last part of a name, without its folder.
std::string name_in_folder(const std::string& name);
