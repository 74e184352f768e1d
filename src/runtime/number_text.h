#pragma once
// The number text of a value and the number at the start of a text.
#include <string>

#include "runtime/numbers.h"

// A blank before a value of 0 or more, "-" before a negative one; 7 significant digits with
// trailing zeros dropped; plain notation without a 0 before the point, or exponent notation
// outside the plain range. Halfway values round to the even digit; infinities read " INF" and
// "-INF", a value that is not a number " NAN".
std::string single_to_str(float value);

// Blanks and tabs are skipped wherever they stand; then a sign, digits, a point and digits, an
// exponent letter (E, e, D, d) with its sign and digits, as far as they fit. "&H", "&O" and
// "&B" start hexadecimal, octal and binary integers. A text without digits gives 0.
extended val_string(const std::string& text);
