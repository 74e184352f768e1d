#pragma once
// The cell table's row of the rule of one kind towards another, as the tests count it: the
// rules start at row 80, one block of 40 rows per acting kind.
constexpr int rule_table_row(int actor, int target) { return 80 + 40 * actor + target; }
