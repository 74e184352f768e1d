#pragma once
// A kind's rule text: the rules of the kind that apply, one entry after another with nothing
// between them. An entry is the rule's sign, the digits of its magnitude, then the digits of
// the target kind. The step reads back the sign, the one character after it as the magnitude
// and the rest up to the next sign as the target.
#include <string>
#include <vector>

// The parts of one entry, as the cell table writes them.
std::string rule_entry_sign(float rule);
std::string rule_entry_magnitude(float rule);
std::string rule_entry_target(float kind);

// A rule entry that applies: its gain and the kind it targets.
struct RuleEntry {
  float gain;
  float target;
};

// The entries of a rule text that contribute. An entry of gain 0, or whose target is not one
// of the kinds 0 to kind_limit, contributes nothing.
std::vector<RuleEntry> rule_entries(const std::string& rules, float kind_limit);
