#include "model/rule_text.h"

#include <cmath>

#include "runtime/number_text.h"
#include "runtime/numbers.h"
#include "runtime/text.h"

namespace {

constexpr char plus_sign[] = "+";
constexpr char minus_sign[] = "-";
constexpr char signs[] = "+-";

// A number's text without the sign column in front of it.
std::string digits(float number) { return mid_string(single_to_str(number), 2); }

}  // namespace

std::string rule_entry_sign(float rule) { return rule < 0 ? minus_sign : plus_sign; }
std::string rule_entry_magnitude(float rule) { return digits(single(abs_single(rule))); }
std::string rule_entry_target(float kind) { return digits(kind); }

std::vector<RuleEntry> rule_entries(const std::string& rules, float kind_limit) {
  std::vector<RuleEntry> entries;
  std::size_t start = 0;
  while (start < rules.size()) {
    const std::size_t next_sign = rules.find_first_of(signs, start + 2);
    const std::size_t end = next_sign == std::string::npos ? rules.size() : next_sign;
    const int first = static_cast<int>(start) + 1;  // 1-based, as the text functions count
    const float term_mag = single(val_string(mid_string(rules, first + 1, 1, true)));
    const float term_gain = single(val_string(mid_string(rules, first, 1, true) + "1") * term_mag);
    if (term_gain != 0) {
      const int target_length = static_cast<int>(end) - first - 1;
      const float term_target = single(val_string(mid_string(rules, first + 2, target_length, true)));
      if (term_target >= 0 && term_target <= kind_limit && term_target == std::floor(term_target))
        entries.push_back({term_gain, term_target});
    }
    start = end;
  }
  return entries;
}
