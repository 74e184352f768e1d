#include "runtime/text.h"

#include "runtime/numbers.h"
#include "runtime/pending_failure.h"

std::string lcase_string(const std::string& text) {
  std::string lower = text;
  for (char& byte : lower)
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
  return lower;
}

std::string chr_string(int n) {
  if (n < 0 || n > 255) {
    raise_error(error_illegal_function_call);
    return {};
  }
  return std::string(1, static_cast<char>(n));
}

std::string mid_string(const std::string& text, int start, int length, bool length_given) {
  const long long size = static_cast<long long>(text.size());
  long long first = start;
  long long count = length_given ? length : size;
  if (first < 1) {
    if (length_given) count -= 1 - first;
    first = 1;
  }
  if (count < 1 || first > size) return {};
  if (first - 1 + count > size) count = size - (first - 1);
  return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(count));
}

std::string string_fill(int n, int byte) {
  if (n < 0) return {};
  return std::string(static_cast<std::size_t>(n), static_cast<char>(byte & 0xff));
}

float strings_equal(const std::string& a, const std::string& b) { return truth(a == b); }
float strings_differ(const std::string& a, const std::string& b) { return truth(a != b); }
