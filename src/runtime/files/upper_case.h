#pragma once
// The simple upper case of a Unicode character of the Basic Multilingual Plane, as Windows' file
// systems upper-case names to compare them; every other character is its own upper case.

char32_t simple_upper_case(char32_t character);
