#pragma once
// Text functions of the runtime. Texts are byte strings, one byte per character.
#include <string>

// Bytes "A" to "Z" become "a" to "z"; every other byte stays.
std::string lcase_string(const std::string& text);
// The one-byte text of byte n (0-255); otherwise failure 5 and the empty text.
std::string chr_string(int n);
// Part of a text from the 1-based start; with length_given, at most length bytes.
std::string mid_string(const std::string& text, int start, int length = 0, bool length_given = false);
// n copies of the low 8 bits of byte; a negative n gives the empty text.
std::string string_fill(int n, int byte);
// -1 when both texts have the same bytes, else 0; strings_differ gives the opposite.
float strings_equal(const std::string& a, const std::string& b);
float strings_differ(const std::string& a, const std::string& b);
