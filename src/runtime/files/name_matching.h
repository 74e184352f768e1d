#pragma once
// Matching a file name against a pattern, as a file system compares names. The two systems'
// rules differ, so the rule is a value: each system's file code passes its own
// (system_name_case, file_paths.h), and both rules are tested on every host.
#include <string_view>

enum class NameCase {
  exact,    // byte for byte, as POSIX file systems compare names
  ignored,  // without case, as Windows' file systems do: UTF-8 characters compared upper-cased
};

// True when the name matches the pattern, whose wildcards are * (any run of characters, none
// included) and ? (one character); every other character stands for itself, under the rule.
bool name_matches(std::string_view pattern, std::string_view name, NameCase rule);
