#pragma once
// The system's boxes take UTF-16; the program's texts are bytes of the PC's code page 437, the
// one its font draws.
#include <string>

std::wstring wide_text(const std::string& text);
