#include "model/simulation.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "app/program.h"
#include "runtime/failures.h"
#include "runtime/number_text.h"
#include "runtime/numbers.h"
#include "runtime/text.h"
#include "runtime/worker_pool.h"

namespace {

constexpr double angle_offset = 1E-7;  // keeps every angle ratio away from 0 / 0
constexpr float half_turn = 180;
constexpr double falloff_numerator = 500;
constexpr float falloff_cap = 100;
constexpr float move_divisor = 50;
constexpr float cube_bound = 50;
constexpr float force_max_start = -1E15f;

// The smallest kind bound of the tables the step indexes (the centroids) and the particles of
// a kind: loop limits below these keep every index inside every table.
constexpr float centroid_kinds = 101;
constexpr float kind_particles = 801;
constexpr std::size_t particle_fields = 6;

// Below this many pair contributions a step runs on the calling thread alone. Waking the
// workers pays from about 400 pairs, but the main loop has no frame limiter, so a shared step
// keeps every core busy for as long as the program runs: the factory size (3 kinds of 33, at
// most 9,801 pairs) stays on one core, larger models use them all.
constexpr double parallel_pairs = 20000;

struct Vec3 {
  float x, y, z;
};

// A rule entry that applies: its gain and the kind it targets.
struct RuleEntry {
  float gain;
  float target;
};

float next_count(float counter) { return single(static_cast<extended>(counter) + 1); }

// The passes of a counted loop from 0 to limit: none for a limit below 0 or not a number.
std::size_t passes(float limit) { return limit >= 0 ? static_cast<std::size_t>(std::floor(limit)) + 1 : 0; }

// The entries of a rule text that contribute: sign, magnitude character, then the target up to
// the next sign. An entry of gain 0, or whose target is not one of the kinds 0 to kind_limit,
// contributes nothing.
std::vector<RuleEntry> rule_entries(const std::string& rules, float kind_limit) {
  std::vector<RuleEntry> entries;
  std::size_t start = 0;
  while (start < rules.size()) {
    const std::size_t next_sign = rules.find_first_of("+-", start + 2);
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

// The sine's argument of one coordinate plane (a, b) from its angle ratio: the plane's angle in
// degrees, a half-turn added when b is below 0, and a half-turn more, in radians.
inline float sine_argument(float tan_ratio, float b, float deg_to_rad) {
  float angle = single(atn_single(tan_ratio) / deg_to_rad);
  if (b < 0) angle = single(static_cast<extended>(angle) + half_turn);
  return single((static_cast<extended>(angle) + half_turn) * deg_to_rad);
}

inline float direction_term(float sine_argument, float gain) {
  return single(static_cast<extended>(sin_single(sine_argument)) * gain);
}

// Adds the contribution of partner q to the force on p. The planes are (dx, dz) for x, (dy, dx)
// for y and (dz, dy) for z; their sines are interleaved with the arc tangents, which the
// processor can then run side by side.
inline void add_pair(Vec3& force, const Vec3& p, const Vec3& q, float gain, float deg_to_rad) {
  const float dx = single(static_cast<extended>(p.x) - q.x);
  const float dy = single(static_cast<extended>(p.y) - q.y);
  const float dz = single(static_cast<extended>(p.z) - q.z);
  const extended offset_x = static_cast<extended>(dx) + angle_offset;
  const extended offset_y = static_cast<extended>(dy) + angle_offset;
  const extended offset_z = static_cast<extended>(dz) + angle_offset;
  const float ratio_x = single(offset_x / offset_z);
  const float ratio_y = single(offset_y / offset_x);
  const float ratio_z = single(offset_z / offset_y);
  const double square_sum = to_double(static_cast<extended>(dx) * dx + static_cast<extended>(dy) * dy +
                                      static_cast<extended>(dz) * dz);
  const float pair_dist = single(sqr(square_sum));
  float falloff = single(falloff_numerator / sqr(static_cast<double>(pair_dist)));
  if (falloff > falloff_cap) falloff = falloff_cap;
  const float argument_x = sine_argument(ratio_x, dz, deg_to_rad);
  const float argument_y = sine_argument(ratio_y, dx, deg_to_rad);
  const float dir_x = direction_term(argument_x, gain);
  const float argument_z = sine_argument(ratio_z, dy, deg_to_rad);
  const float dir_y = direction_term(argument_y, gain);
  const float dir_z = direction_term(argument_z, gain);
  force.x = single(static_cast<extended>(force.x) + static_cast<extended>(-dir_x) * falloff);
  force.y = single(static_cast<extended>(force.y) + static_cast<extended>(-dir_y) * falloff);
  force.z = single(static_cast<extended>(force.z) + static_cast<extended>(-dir_z) * falloff);
}

void raise_force_max(const Vec3& force, float& force_max) {
  for (const float component : {force.x, force.y, force.z}) {
    const extended magnitude = abs_single(component);
    if (magnitude > force_max) force_max = single(magnitude);
  }
}

// Table access for a step whose loop limits keep every index inside the tables.
struct DirectAccess {
  static constexpr bool checked = false;
  Program& g;
  float& field(float kind, float number, int f) {
    return g.particle.at(static_cast<std::size_t>(kind), static_cast<std::size_t>(number), f);
  }
  float& centre(float kind, int axis) { return g.color_center.at(static_cast<std::size_t>(kind), axis); }
  float& count(float kind) { return g.color_count.at(static_cast<std::size_t>(kind)); }
  static void end() {}
};

// Table access for a step that reaches beyond a table: an index outside raises failure 9 and
// reaches the table's spare element, and the failure is reported at the end of the statement.
struct CheckedAccess {
  static constexpr bool checked = true;
  Program& g;
  float& field(float kind, float number, int f) { return g.particle(kind, number, f); }
  float& centre(float kind, int axis) { return g.color_center(kind, axis); }
  float& count(float kind) { return g.color_count(kind); }
  static void end(int step_number = __builtin_LINE()) { end_step(step_number); }
};

template <class Access>
Vec3 position(Access& access, float kind, float number) {
  const Vec3 p{access.field(kind, number, 0), access.field(kind, number, 1), access.field(kind, number, 2)};
  access.end();
  return p;
}

// The force on particle number of kind: its rule entries in text order, each partner in
// ascending number, then the central pull.
template <class Access>
Vec3 particle_force(Access& access, float kind, float number, const std::vector<RuleEntry>& entries) {
  Program& g = access.g;
  const float deg_to_rad = g.deg_to_rad;
  const Vec3 p = position(access, kind, number);
  Vec3 force{0, 0, 0};
  for (const RuleEntry& entry : entries) {
    const float partner_limit = single(static_cast<extended>(access.count(entry.target)) - 1);
    access.end();
    if constexpr (Access::checked) {
      for (float q = 0; q <= partner_limit; q = next_count(q))
        add_pair(force, p, position(access, entry.target, q), entry.gain, deg_to_rad);
    } else {
      const float* partner = &access.field(entry.target, 0, 0);
      for (std::size_t q = passes(partner_limit); q > 0; --q, partner += particle_fields)
        add_pair(force, p, Vec3{partner[0], partner[1], partner[2]}, entry.gain, deg_to_rad);
    }
  }
  const float pull = g.central_attraction;
  if (pull != 0) {
    force.x = single(static_cast<extended>(force.x) - static_cast<extended>(p.x) * pull * 2);
    force.y = single(static_cast<extended>(force.y) - static_cast<extended>(p.y) * pull * 2);
    force.z = single(static_cast<extended>(force.z) - static_cast<extended>(p.z) * pull * 2);
  }
  return force;
}

template <class Access>
void store_force(Access& access, float kind, float number, const Vec3& force) {
  access.field(kind, number, 3) = force.x;
  access.field(kind, number, 4) = force.y;
  access.field(kind, number, 5) = force.z;
  access.end();
}

// The force pass literally, one statement after the other, for a step beyond the tables.
void checked_force_pass(float kind_limit) {
  Program& g = program();
  CheckedAccess access{g};
  for (float kind = 0; kind <= kind_limit; kind = next_count(kind)) {
    const std::vector<RuleEntry> entries = rule_entries(g.kind_rules(kind), kind_limit);
    end_step();
    const float count_limit = single(static_cast<extended>(g.color_count(kind)) - 1);
    end_step();
    for (float number = 0; number <= count_limit; number = next_count(number)) {
      const Vec3 force = particle_force(access, kind, number, entries);
      store_force(access, kind, number, force);
      raise_force_max(force, g.force_max);
    }
  }
}

// The force pass of a step inside the tables, shared out over the threads particle by
// particle. Each force is summed in its own fixed order and force_max is a maximum, so the
// result does not depend on the threads.
void shared_force_pass(float kind_limit) {
  Program& g = program();
  const std::size_t kinds = passes(kind_limit);
  std::vector<std::vector<RuleEntry>> entries(kinds);
  std::vector<std::size_t> first(kinds + 1, 0);  // the first particle of each kind, counted over all
  for (std::size_t kind = 0; kind < kinds; ++kind) {
    entries[kind] = rule_entries(g.kind_rules.at(kind), kind_limit);
    first[kind + 1] = first[kind] + passes(single(static_cast<extended>(g.color_count.at(kind)) - 1));
  }
  double pairs = 0;
  for (std::size_t kind = 0; kind < kinds; ++kind)
    for (const RuleEntry& entry : entries[kind]) {
      const std::size_t target = static_cast<std::size_t>(entry.target);
      pairs += static_cast<double>(first[kind + 1] - first[kind]) * static_cast<double>(first[target + 1] - first[target]);
    }

  const bool shared = pairs >= parallel_pairs;
  std::vector<float> maxima(shared ? static_cast<std::size_t>(worker_count()) : 1, force_max_start);
  const RangeBody body = [&](std::size_t begin, std::size_t end, int worker) {
    DirectAccess access{g};
    std::size_t kind = 0;
    for (std::size_t index = begin; index < end; ++index) {
      while (index >= first[kind + 1]) ++kind;
      const float kind_number = static_cast<float>(kind);
      const float number = static_cast<float>(index - first[kind]);
      const Vec3 force = particle_force(access, kind_number, number, entries[kind]);
      store_force(access, kind_number, number, force);
      raise_force_max(force, maxima[static_cast<std::size_t>(worker)]);
    }
  };
  if (shared)
    parallel_for(first[kinds], 1, body);
  else
    body(0, first[kinds], 0);
  for (const float maximum : maxima)
    if (maximum > g.force_max) g.force_max = maximum;
}

// Moves one coordinate of the particle (loop_i, loop_j) by its force, unless the force is 0 or
// the confinement drops the move.
template <class Access>
void move_coordinate(Access& access, int axis, float& proposed) {
  Program& g = access.g;
  const float force = access.field(g.loop_i, g.loop_j, axis + 3);
  access.end();
  if (force == 0) return;
  proposed = single(static_cast<extended>(access.field(g.loop_i, g.loop_j, axis)) +
                    single(static_cast<extended>(force) * g.move_scale));
  access.end();
  if (g.cube_confine == 0 || (-cube_bound <= proposed && proposed <= cube_bound)) {
    access.field(g.loop_i, g.loop_j, axis) = proposed;
    access.end();
  }
}

template <class Access>
void move_pass(Access& access, float kind_limit) {
  Program& g = access.g;
  for (g.loop_i = 0; g.loop_i <= kind_limit; g.loop_i = next_count(g.loop_i)) {
    for (int axis = 0; axis < 3; ++axis) {
      access.centre(g.loop_i, axis) = 0;
      access.end();
    }
    const float count_limit = single(static_cast<extended>(access.count(g.loop_i)) - 1);
    access.end();
    for (g.loop_j = 0; g.loop_j <= count_limit; g.loop_j = next_count(g.loop_j)) {
      if (g.force_max != 0) {
        g.move_scale = single(1.0L / g.force_max * g.step_size / move_divisor);
        move_coordinate(access, 0, g.new_x);
        move_coordinate(access, 1, g.new_y);
        move_coordinate(access, 2, g.new_z);
      }
      for (int axis = 0; axis < 3; ++axis) {
        access.centre(g.loop_i, axis) =
            single(static_cast<extended>(access.centre(g.loop_i, axis)) + access.field(g.loop_i, g.loop_j, axis));
        access.end();
      }
    }
    for (int axis = 0; axis < 3; ++axis) {
      access.centre(g.loop_i, axis) = single(static_cast<extended>(access.centre(g.loop_i, axis)) / access.count(g.loop_i));
      access.end();
    }
  }
}

// True when the kind loop and every particle loop of the step stay inside the tables.
bool inside_tables(float kind_limit) {
  if (kind_limit >= centroid_kinds) return false;
  Program& g = program();
  for (std::size_t kind = 0, kinds = passes(kind_limit); kind < kinds; ++kind)
    if (single(static_cast<extended>(g.color_count.at(kind)) - 1) >= kind_particles) return false;
  return true;
}

}  // namespace

void simulate_step() {
  Program& g = program();
  g.force_max = force_max_start;
  const float kind_limit = single(static_cast<extended>(n_kinds()) - 1);
  if (inside_tables(kind_limit)) {
    shared_force_pass(kind_limit);
    DirectAccess access{g};
    move_pass(access, kind_limit);
  } else {
    checked_force_pass(kind_limit);
    CheckedAccess access{g};
    move_pass(access, kind_limit);
  }
}

void set_simulation_threads(int threads) { set_worker_count(threads); }
