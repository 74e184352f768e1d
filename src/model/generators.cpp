#include "model/generators.h"

#include <cmath>

#include "context/program.h"
#include "model/cell_rows.h"
#include "runtime/failures.h"
#include "runtime/numbers.h"
#include "runtime/random.h"

namespace {

// The particle table holds particles 0-800 of a kind.
constexpr float largest_count = 801;

// A count as the generators write it: a whole number the particle table can hold. Counts above
// the table's are cut to it; one without a value (not a number, or minus infinity) becomes 0.
// Negative counts stay: the loops up to them run zero times.
float holdable_count(float count) {
  if (count > largest_count) return largest_count;
  if (!std::isfinite(count)) return 0;
  return count;
}

// The count that an equal share of the maximum gives each of the kinds.
float equal_share() {
  auto& g = program();
  return holdable_count(floor_single(single(extended{g.max_particles} / n_kinds())));
}

// The shared tail of the count generators: the maximum shared out in proportion to the weights.
// Weights that add up to 0 give no proportion; then every kind in use gets the equal share.
void share_out_counts() {
  auto& g = program();
  const float kind_limit = last_kind();
  const float quotient = single(extended{g.max_particles} / g.weight_sum);
  for (g.loop_j = 0; g.loop_j <= kind_limit; g.loop_j = next_count(g.loop_j)) {
    g.table_row = count_row(g.loop_j);
    float count;
    if (g.weight_sum == 0) {
      count = equal_share();
    } else {
      count = holdable_count(floor_single(single(extended{g.count_weight(g.loop_j)} * quotient)));
      end_step();
    }
    g.model_table(g.table_row, cell_value) = count;
    end_step();
  }
}

// Each kind in use, in loop_i, gets the weight that weigh gives it; the maximum is then shared
// out in proportion to the weights.
void share_out_by_weights(float (*weigh)()) {
  auto& g = program();
  g.weight_sum = 0;
  const float kind_limit = last_kind();
  for (g.loop_i = 0; g.loop_i <= kind_limit; g.loop_i = next_count(g.loop_i)) {
    g.count_weight(g.loop_i) = weigh();
    end_step();
    g.weight_sum = single(extended{g.weight_sum} + g.count_weight(g.loop_i));
    end_step();
  }
  share_out_counts();
}

float random_weight() { return single(extended{rnd()} * 10000 + 100); }
float present_count() { return program().model_table(count_row(program().loop_i), cell_value); }

}  // namespace

void randomize_forces_r() {
  auto& g = program();
  g.force_range = 3;
  g.force_offset = 1;
  randomize_forces();
}

void randomize_forces_t() {
  auto& g = program();
  g.force_range = 2;
  g.force_offset = 0;
  randomize_forces();
}

void randomize_forces() {
  auto& g = program();
  for (g.loop_j = 0; g.loop_j <= last_kind_slot; g.loop_j = next_count(g.loop_j)) {
    for (g.loop_i = 0; g.loop_i <= last_kind_slot; g.loop_i = next_count(g.loop_i)) {
      g.table_row = rule_row(g.loop_j, g.loop_i);
      const float rule = single(floor_single(single(extended{rnd()} * g.force_range)) -
                                extended{g.force_offset});
      g.model_table.unchecked(static_cast<int>(g.table_row), cell_value) = rule;  // rows 80-1679
    }
  }
}

void randomize_counts() { share_out_by_weights(random_weight); }

void rescale_counts() { share_out_by_weights(present_count); }

void equalize_counts() {
  auto& g = program();
  g.equal_count = equal_share();
  for (g.loop_j = 0; g.loop_j <= last_kind_slot; g.loop_j = next_count(g.loop_j)) {
    g.table_row = count_row(g.loop_j);
    g.model_table.unchecked(static_cast<int>(g.table_row), cell_value) = g.equal_count;  // rows 40-79
  }
}
