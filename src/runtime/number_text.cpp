#include "runtime/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/pending_failure.h"

std::string single_to_str(float value) {
  if (value == 0) return " 0";
  const std::string sign = std::signbit(value) ? "-" : " ";
  if (std::isnan(value)) return " NAN";
  if (std::isinf(value)) return sign + "INF";

  // Seven significant digits of the exact binary value, in the form d.dddddde+XX.
  char scientific[32];
  std::snprintf(scientific, sizeof scientific, "%.6e", std::fabs(static_cast<double>(value)));
  std::string digits;
  digits += scientific[0];
  digits.append(scientific + 2, 6);
  const int exponent = std::atoi(scientific + 9);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int count = static_cast<int>(digits.size());

  std::string text = sign;
  if (exponent <= 6 && exponent - count >= -8) {
    if (exponent >= 0) {
      const int integer_digits = exponent + 1;
      for (int i = 0; i < integer_digits; ++i) text += i < count ? digits[i] : '0';
      if (count > integer_digits) text += "." + digits.substr(integer_digits);
    } else {
      text += "." + std::string(-exponent - 1, '0') + digits;
    }
    return text;
  }
  text += digits[0];
  if (count > 1) text += "." + digits.substr(1);
  char exponent_text[16];
  std::snprintf(exponent_text, sizeof exponent_text, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + exponent_text;
}

namespace {

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// An "&H", "&O" or "&B" integer, read from position on; beyond 64 bits is failure 6.
extended based_integer(const std::string& text, std::size_t position, unsigned base) {
  unsigned long long value = 0;
  for (; position < text.size(); ++position) {
    const char c = text[position];
    if (c == ' ' || c == '\t') continue;
    const unsigned digit = static_cast<unsigned>(digit_value(c));
    if (digit >= base) break;
    if (value > (~0ull - digit) / base) {
      raise_error(error_overflow);
      return 0;
    }
    value = value * base + digit;
  }
  return static_cast<extended>(value);
}

}  // namespace

extended val_string(const std::string& text) {
  std::size_t position = 0;
  auto skip_blanks = [&] {
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t')) ++position;
  };
  skip_blanks();
  if (position < text.size() && text[position] == '&') {
    ++position;
    skip_blanks();
    const char kind = position < text.size() ? text[position] : '\0';
    if (kind == 'H' || kind == 'h') return based_integer(text, position + 1, 16);
    if (kind == 'O' || kind == 'o') return based_integer(text, position + 1, 8);
    if (kind == 'B' || kind == 'b') return based_integer(text, position + 1, 2);
    return 0;
  }

  std::string number;  // the characters read, blanks left out
  bool has_digits = false, has_point_or_exponent = false;
  auto take_digits = [&] {
    for (;; ++position) {
      skip_blanks();
      if (position >= text.size() || text[position] < '0' || text[position] > '9') return;
      number += text[position];
      has_digits = true;
    }
  };
  auto take_sign = [&] {
    skip_blanks();
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) number += text[position++];
  };

  take_sign();
  take_digits();
  skip_blanks();
  if (position < text.size() && text[position] == '.') {
    number += text[position++];
    has_point_or_exponent = true;
    take_digits();
  }
  if (!has_digits) return 0;
  skip_blanks();
  if (position < text.size() && std::strchr("EeDd", text[position]) != nullptr) {
    ++position;
    std::string exponent = "e";
    skip_blanks();
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) exponent += text[position++];
    bool exponent_digits = false;
    for (;; ++position) {
      skip_blanks();
      if (position >= text.size() || text[position] < '0' || text[position] > '9') break;
      exponent += text[position];
      exponent_digits = true;
    }
    if (exponent_digits) {
      number += exponent;
      has_point_or_exponent = true;
    }
  }

  const std::size_t sign_length = (number[0] == '+' || number[0] == '-') ? 1 : 0;
  if (!has_point_or_exponent && number.size() - sign_length <= 18)
    return static_cast<extended>(std::strtoll(number.c_str(), nullptr, 10));
  return std::strtold(number.c_str(), nullptr);
}
