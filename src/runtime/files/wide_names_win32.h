#pragma once
// Windows takes file names in UTF-16; the runtime's names are UTF-8 bytes.
#include <optional>
#include <string>

// The UTF-16 name for UTF-8 bytes; none, a bad name, for bytes that are not UTF-8 or for a part
// longer than Windows' file systems take.
std::optional<std::wstring> wide_name(const std::string& name);
std::string utf8_name(const std::wstring& name);
