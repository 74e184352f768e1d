// Numbers printed through a template of digit places: "#" for a digit, "." for the point.
#include <cmath>
#include <cstdio>

#include "runtime/number_text.h"
#include "runtime/pending_failure.h"
#include "runtime/screen.h"

namespace {

struct Template {
  std::size_t integer_places = 0, decimals = 0;
  bool has_point = false;
};

bool parse_template(const std::string& format, Template& shape) {
  const std::size_t point = format.find('.');
  const std::string integer_part = format.substr(0, point);
  const std::string decimal_part = point == std::string::npos ? "" : format.substr(point + 1);
  if (format.empty() || integer_part.find_first_not_of('#') != std::string::npos ||
      decimal_part.find_first_not_of('#') != std::string::npos)
    return false;
  shape = {integer_part.size(), decimal_part.size(), point != std::string::npos};
  return true;
}

// Adds one unit in the last place of a string of decimal digits.
void increment_digits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

void print_using_single(const std::string& format, float value, std::string& output) {
  if (failure_pending()) return;
  Template shape;
  if (!parse_template(format, shape)) {
    raise_error(error_illegal_function_call);
    return;
  }
  if (!std::isfinite(value)) {
    // No field holds an infinity or a value that is not a number: its number text, marked.
    const std::string text = single_to_str(value);
    output += "%" + text.substr(text[0] == ' ' ? 1 : 0);
    return;
  }
  // Every float has a finite decimal expansion of at most 149 decimals; the rounding below
  // works on all of its digits, so a dropped 5 always rounds up.
  char expansion[200];
  std::snprintf(expansion, sizeof expansion, "%.149f", std::fabs(static_cast<double>(value)));
  const std::string exact = expansion;
  const std::size_t point = exact.find('.');
  std::string digits = exact.substr(0, point) + exact.substr(point + 1, shape.decimals);
  if (exact[point + 1 + shape.decimals] >= '5') increment_digits(digits);

  std::string integer_digits = digits.substr(0, digits.size() - shape.decimals);
  integer_digits.erase(0, integer_digits.find_first_not_of('0'));
  if (integer_digits.empty() && shape.integer_places > 0) integer_digits = "0";
  const std::string body = (value < 0 ? "-" : "") + integer_digits;
  std::string field = body.size() > shape.integer_places ? "%" + body : std::string(shape.integer_places - body.size(), ' ') + body;
  if (shape.has_point) field += "." + digits.substr(digits.size() - shape.decimals);
  output += field;
}
