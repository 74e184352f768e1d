#include "model/rule_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fresh_program.h"

namespace {

using RuleText = FreshProgram;

// The text the cell table writes for these rules, one entry after another.
std::string written(const std::vector<RuleEntry>& rules) {
  std::string text;
  for (const RuleEntry& rule : rules)
    text += rule_entry_sign(rule.gain) + rule_entry_magnitude(rule.gain) + rule_entry_target(rule.target);
  return text;
}

TEST_F(RuleText, EveryWholeRuleOfOneDigitReadsBackAsWritten) {
  for (float gain = -9; gain <= 9; ++gain) {
    if (gain == 0) continue;
    std::vector<RuleEntry> rules;
    for (float target = 0; target < 40; ++target) rules.push_back({target == 7 ? -gain : gain, target});
    const std::vector<RuleEntry> read = rule_entries(written(rules), 39);
    ASSERT_EQ(read.size(), rules.size()) << written(rules);
    for (std::size_t i = 0; i < rules.size(); ++i) {
      EXPECT_EQ(read[i].gain, rules[i].gain) << written(rules) << " entry " << i;
      EXPECT_EQ(read[i].target, rules[i].target) << written(rules) << " entry " << i;
    }
  }
}

TEST_F(RuleText, TheReaderKeepsOnlyTheKindsInUse) {
  const std::string text = written({{3, 2}, {-1, 11}, {5, 12}, {2, 0}});
  EXPECT_EQ(text, "+32-111+512+20");
  const std::vector<RuleEntry> read = rule_entries(text, 11);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_EQ(read[1].gain, -1);
  EXPECT_EQ(read[1].target, 11);
  EXPECT_EQ(read[2].target, 0);
}

}  // namespace
