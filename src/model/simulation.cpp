#include "model/simulation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "compute/worker_pool.h"
#include "context/program.h"
#include "model/cell_rows.h"
#include "model/pair_batch.h"
#include "model/pair_contribution.h"
#include "model/rule_text.h"
#include "runtime/failures.h"
#include "runtime/numbers.h"

namespace {

constexpr float move_divisor = 50;
constexpr float cube_bound = 50;
constexpr float force_max_start = -1E15f;

// The smallest kind bound of the tables the step indexes (the centroids) and the particles of
// a kind: loop limits below these keep every index inside every table.
constexpr float centroid_kinds = 101;
constexpr float kind_particles = 801;

// Below this many pair contributions a step runs on the calling thread alone. On the fast lanes
// a pair costs about 15 ns, so 40,000 pairs take about 0.6 ms on one core; measured on this
// 8-core machine, waking the workers starts to pay between 10,000 and 40,000 pairs. The main
// loop has no frame limiter, so a shared step keeps every core busy for as long as the program
// runs: models up to about 200 particles with every rule (the factory size, 3 kinds of 33, at
// most 9,801 pairs, among them) stay on one core, larger ones use them all.
constexpr double parallel_pairs = 40000;

// The passes of a counted loop from 0 to limit: none for a limit below 0 or not a number.
std::size_t passes(float limit) { return limit >= 0 ? static_cast<std::size_t>(std::floor(limit)) + 1 : 0; }

void raise_force_max(const Vec3& force, float& force_max) {
  for (const float component : {force.x, force.y, force.z}) {
    const extended magnitude = abs_single(component);
    if (magnitude > force_max) force_max = single(magnitude);
  }
}

// Table access for a step whose loop limits keep every index inside the tables.
struct DirectAccess {
  Program& g;
  float& field(float kind, float number, int f) {
    return g.particle.unchecked(static_cast<std::size_t>(kind), static_cast<std::size_t>(number), f);
  }
  float& centre(float kind, int axis) { return g.color_center.unchecked(static_cast<std::size_t>(kind), axis); }
  float& count(float kind) { return g.color_count.unchecked(static_cast<std::size_t>(kind)); }
  static void end() {}
};

// Table access for a step that reaches beyond a table: an index outside raises failure 9 and
// reaches the table's spare element, and the failure is reported at the end of the statement.
struct CheckedAccess {
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

// The coordinates of every kind's particles in columns for the fast lanes, padded to whole lane
// groups; the force pass reads the positions only, so they hold for the whole pass.
struct KindColumns {
  std::vector<float> x, y, z;
  std::size_t count = 0;
  PartnerColumns partners() const { return {x.data(), y.data(), z.data(), count}; }
};

// The central pull, after every pair contribution.
void add_central_pull(Vec3& force, const Vec3& p, float pull) {
  if (pull == 0) return;
  force.x = single(extended{force.x} - extended{p.x} * pull * 2);
  force.y = single(extended{force.y} - extended{p.y} * pull * 2);
  force.z = single(extended{force.z} - extended{p.z} * pull * 2);
}

// The force on particle number of kind by the extended formula, statement by statement for a
// step beyond the tables: its rule entries in text order, each partner in ascending number,
// then the central pull.
Vec3 particle_force(CheckedAccess& access, float kind, float number, const std::vector<RuleEntry>& entries) {
  Program& g = access.g;
  const float deg_to_rad = g.deg_to_rad;
  const Vec3 p = position(access, kind, number);
  Vec3 force{0, 0, 0};
  for (const RuleEntry& entry : entries) {
    const float partner_limit = single(extended{access.count(entry.target)} - 1);
    access.end();
    for (float q = 0; q <= partner_limit; q = next_count(q))
      add_pair(force, p, position(access, entry.target, q), entry.gain, deg_to_rad);
  }
  add_central_pull(force, p, g.central_attraction);
  return force;
}

// The forces on `together` consecutive particles of one kind from number on, each summed in the
// order of particle_force, by the fast lanes with the extended formula wherever they prove
// nothing (inside the tables only).
void fast_particle_forces(Program& g, std::size_t kind, std::size_t number, std::size_t together,
                          const std::vector<RuleEntry>& entries, const std::vector<KindColumns>& columns,
                          Vec3* forces) {
  Vec3 origins[origins_together];
  for (std::size_t i = 0; i < together; ++i) {
    origins[i] = {g.particle.unchecked(kind, number + i, 0), g.particle.unchecked(kind, number + i, 1), g.particle.unchecked(kind, number + i, 2)};
    forces[i] = {0, 0, 0};
  }
  for (const RuleEntry& entry : entries)
    add_partners_together(forces, origins, together, columns[static_cast<std::size_t>(entry.target)].partners(),
                          entry.gain, g.deg_to_rad);
  for (std::size_t i = 0; i < together; ++i) add_central_pull(forces[i], origins[i], g.central_attraction);
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
    const float count_limit = single(extended{g.color_count(kind)} - 1);
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
    entries[kind] = rule_entries(g.kind_rules.unchecked(kind), kind_limit);
    first[kind + 1] = first[kind] + passes(single(extended{g.color_count.unchecked(kind)} - 1));
  }
  double pairs = 0;
  for (std::size_t kind = 0; kind < kinds; ++kind)
    for (const RuleEntry& entry : entries[kind]) {
      const std::size_t target = static_cast<std::size_t>(entry.target);
      pairs += static_cast<double>(first[kind + 1] - first[kind]) * static_cast<double>(first[target + 1] - first[target]);
    }

  std::vector<KindColumns> columns(kinds);
  for (std::size_t kind = 0; kind < columns.size(); ++kind) {
    KindColumns& column = columns[kind];
    column.count = first[kind + 1] - first[kind];
    for (std::vector<float>* axis : {&column.x, &column.y, &column.z}) axis->assign(padded_partners(column.count), 0);
    for (std::size_t number = 0; number < column.count; ++number) {
      column.x[number] = g.particle.unchecked(kind, number, 0);
      column.y[number] = g.particle.unchecked(kind, number, 1);
      column.z[number] = g.particle.unchecked(kind, number, 2);
    }
  }

  const bool shared = pairs >= parallel_pairs;
  std::vector<float> maxima(shared ? static_cast<std::size_t>(worker_count()) : 1, force_max_start);
  const RangeBody body = [&](std::size_t begin, std::size_t end, int worker) {
    DirectAccess access{g};
    float& maximum = maxima[static_cast<std::size_t>(worker)];
    std::size_t kind = 0;
    for (std::size_t index = begin; index < end;) {
      while (index >= first[kind + 1]) ++kind;
      const float kind_number = static_cast<float>(kind);
      const std::size_t number = index - first[kind];
      const std::size_t together = std::min({origins_together, end - index, first[kind + 1] - index});
      Vec3 forces[origins_together];
      fast_particle_forces(g, kind, number, together, entries[kind], columns, forces);
      for (std::size_t i = 0; i < together; ++i) {
        store_force(access, kind_number, static_cast<float>(number + i), forces[i]);
        raise_force_max(forces[i], maximum);
      }
      index += together;
    }
  };
  if (shared)
    parallel_for(first[kinds], origins_together, body);
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
  proposed = single(extended{access.field(g.loop_i, g.loop_j, axis)} +
                    single(extended{force} * g.move_scale));
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
    const float count_limit = single(extended{access.count(g.loop_i)} - 1);
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
            single(extended{access.centre(g.loop_i, axis)} + access.field(g.loop_i, g.loop_j, axis));
        access.end();
      }
    }
    for (int axis = 0; axis < 3; ++axis) {
      access.centre(g.loop_i, axis) = single(extended{access.centre(g.loop_i, axis)} / access.count(g.loop_i));
      access.end();
    }
  }
}

// True when the kind loop and every particle loop of the step stay inside the tables.
bool inside_tables(float kind_limit) {
  if (kind_limit >= centroid_kinds) return false;
  Program& g = program();
  for (std::size_t kind = 0, kinds = passes(kind_limit); kind < kinds; ++kind)
    if (single(extended{g.color_count.unchecked(kind)} - 1) >= kind_particles) return false;
  return true;
}

}  // namespace

void simulate_step() {
  Program& g = program();
  g.force_max = force_max_start;
  const float kind_limit = last_kind();
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
