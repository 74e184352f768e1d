#include "model/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "compute/vector_isa.h"
#include "runtime/control.h"
#include "runtime/number_text.h"
#include "runtime/random.h"
#include "support/fresh_program.h"
#include "support/vector_isas.h"

namespace {

struct Point {
  float x, y, z;
};

class SimulationStep : public FreshProgram {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    auto& g = program();
    g.deg_to_rad = 0.0174532924f;
    g.step_size = 50;
    g.central_attraction = 0;
    g.cube_confine = 0;
  }
  void TearDown() override {
    set_simulation_threads(0);
    choose_vector_isa(best_vector_isa());
  }

  // Kinds with the given particles and rule texts.
  static void model(const std::vector<std::vector<Point>>& kinds, const std::vector<std::string>& rules) {
    auto& g = program();
    n_kinds() = static_cast<float>(kinds.size());
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      g.color_count(k) = static_cast<float>(kinds[k].size());
      g.kind_rules(k) = k < rules.size() ? rules[k] : "";
      for (std::size_t j = 0; j < kinds[k].size(); ++j) set_position(k, j, kinds[k][j]);
    }
  }
  static void set_position(std::size_t kind, std::size_t number, Point p) {
    auto& g = program();
    g.particle(kind, number, 0) = p.x;
    g.particle(kind, number, 1) = p.y;
    g.particle(kind, number, 2) = p.z;
  }
  static Point position(std::size_t kind, std::size_t number) {
    auto& g = program();
    return {g.particle(kind, number, 0), g.particle(kind, number, 1), g.particle(kind, number, 2)};
  }
  static Point force(std::size_t kind, std::size_t number) {
    auto& g = program();
    return {g.particle(kind, number, 3), g.particle(kind, number, 4), g.particle(kind, number, 5)};
  }
  static Point centroid(std::size_t kind) {
    auto& g = program();
    return {g.color_center(kind, 0), g.color_center(kind, 1), g.color_center(kind, 2)};
  }
  // The number texts of a point, as the program would print them.
  static std::string text(Point p) { return single_to_str(p.x) + single_to_str(p.y) + single_to_str(p.z); }
  static std::string text(float a, float b, float c) { return text(Point{a, b, c}); }
};

TEST_F(SimulationStep, ChaseExampleComesOutToThePrintedDigits) {
  model({{{10, 20, 30}}, {{1, 2, 3}}}, {"-11", ""});
  simulate_step();
  auto& g = program();
  EXPECT_EQ(text(force(0, 0)), text(-27.24687f, -77.06580f, -71.69128f));
  EXPECT_EQ(single_to_str(g.force_max), single_to_str(77.06580f));
  EXPECT_EQ(single_to_str(g.move_scale), single_to_str(0.01297592f));
  EXPECT_EQ(text(position(0, 0)), text(9.646446f, 19, 29.06974f));
  EXPECT_EQ(text(force(1, 0)), text(0, 0, 0));
  EXPECT_EQ(text(position(1, 0)), text(1, 2, 3));
  EXPECT_EQ(text(centroid(0)), text(9.646446f, 19, 29.06974f));
  EXPECT_EQ(text(centroid(1)), text(1, 2, 3));
}

TEST_F(SimulationStep, LoneParticleUnderItsOwnKindDriftsDiagonally) {
  const struct {
    const char* rule;
    Point expected;
    float force;
  } cases[] = {{"+10", {6, -6, 13}, 70.71067f}, {"-10", {4, -8, 11}, -70.71067f}};
  for (const auto& c : cases) {
    model({{{5, -7, 12}}}, {c.rule});
    simulate_step();
    EXPECT_EQ(text(force(0, 0)), text(c.force, c.force, c.force)) << c.rule;
    EXPECT_EQ(single_to_str(program().force_max), single_to_str(70.71067f)) << c.rule;
    EXPECT_EQ(text(position(0, 0)), text(c.expected)) << c.rule;
  }
}

TEST_F(SimulationStep, WithoutRulesOrPullNothingMovesAndCentroidsAreTheMeans) {
  model({{{1, 2, 3}, {3, 4, 5}}, {{-4, 0, 8}}}, {});
  simulate_step();
  EXPECT_EQ(program().force_max, 0);
  EXPECT_EQ(text(force(0, 1)), text(0, 0, 0));
  EXPECT_EQ(text(position(0, 0)), text(1, 2, 3));
  EXPECT_EQ(text(position(0, 1)), text(3, 4, 5));
  EXPECT_EQ(text(centroid(0)), text(2, 3, 4));
  EXPECT_EQ(text(centroid(1)), text(-4, 0, 8));
}

TEST_F(SimulationStep, CentralPullAloneIsScaledByTheLargestForceNotItsSize) {
  program().central_attraction = 50;
  model({{{10, 0, 0}}}, {});
  simulate_step();
  EXPECT_EQ(text(force(0, 0)), text(-1000, 0, 0));
  EXPECT_EQ(text(position(0, 0)), text(9, 0, 0));

  set_position(0, 0, {0.5f, 0, 0});
  simulate_step();
  EXPECT_EQ(text(force(0, 0)), text(-50, 0, 0));
  EXPECT_EQ(text(position(0, 0)), text(-0.5f, 0, 0));
  simulate_step();
  EXPECT_EQ(text(position(0, 0)), text(0.5f, 0, 0));
}

TEST_F(SimulationStep, StepSizeZeroStoresForcesButMovesNothing) {
  auto& g = program();
  g.step_size = 0;
  g.central_attraction = 50;
  model({{{10, 20, 30}}, {{1, 2, 3}}}, {"-11", ""});
  simulate_step();
  EXPECT_EQ(g.move_scale, 0);
  EXPECT_NE(force(0, 0).x, 0);
  EXPECT_EQ(text(position(0, 0)), text(10, 20, 30));
  EXPECT_EQ(text(position(1, 0)), text(1, 2, 3));
}

TEST_F(SimulationStep, ConfinementTakesTheBoundsAndDropsOnlyTheCoordinateBeyond) {
  program().cube_confine = 1;
  // Each lone kind pushes or pulls itself by exactly 1 per axis; kind 2 has no force at all.
  model({{{49, 49.5f, 0}}, {{-49, -49.5f, 80}}, {{70, 0, 0}}}, {"+10", "-11", ""});
  simulate_step();
  EXPECT_EQ(text(position(0, 0)), text(50, 49.5f, 1));
  EXPECT_EQ(text(position(1, 0)), text(-50, -49.5f, 80));
  EXPECT_EQ(text(position(2, 0)), text(70, 0, 0));

  program().cube_confine = 0;
  set_position(0, 0, {49, 49.5f, 0});
  simulate_step();
  EXPECT_EQ(text(position(0, 0)), text(50, 50.5f, 1));
}

TEST_F(SimulationStep, TwoDigitTargetsAndEntriesThatMatchNoKind) {
  std::vector<std::vector<Point>> kinds(12);
  for (int k = 0; k < 12; ++k) kinds[k] = {{static_cast<float>(3 * k), static_cast<float>(k * k % 7), static_cast<float>(-k)}};
  const auto force_of_kind_1 = [&](const char* rules) {
    SetUp();
    model(kinds, {"", rules});
    simulate_step();
    return force(1, 0);
  };
  const Point both = force_of_kind_1("+12-111");
  const Point towards_2 = force_of_kind_1("+12");
  const Point towards_11 = force_of_kind_1("-111");
  EXPECT_NEAR(both.x, towards_2.x + towards_11.x, 1e-4);
  EXPECT_NEAR(both.y, towards_2.y + towards_11.y, 1e-4);
  EXPECT_NEAR(both.z, towards_2.z + towards_11.z, 1e-4);
  EXPECT_GT(std::fabs(towards_11.x), 1);
  EXPECT_GT(std::fabs(towards_2.x), 1);

  for (const char* nothing : {"+.62", "+112", "+12.5"})
    EXPECT_EQ(text(force_of_kind_1(nothing)), text(0, 0, 0)) << nothing;
}

TEST_F(SimulationStep, PairThatDiffersOnlyInXPushesInXAndInZ) {
  model({{{10, 0, 0}}, {{0, 0, 0}}}, {"+11", ""});
  simulate_step();
  const Point f = force(0, 0);
  EXPECT_EQ(f.x, 100);
  EXPECT_EQ(single_to_str(f.z), single_to_str(70.71067f));
  EXPECT_NE(f.y, 0);
  EXPECT_LT(std::fabs(f.y), 0.01f);
}

TEST_F(SimulationStep, EmptyKindHasNoCentroidAndAttractsNothing) {
  auto& g = program();
  for (int axis = 0; axis < 3; ++axis) g.color_center(2, axis) = 7;  // a kind not in use
  model({{{1, 2, 3}}, {}}, {"+11", "+10"});
  simulate_step();
  EXPECT_EQ(text(force(0, 0)), text(0, 0, 0));
  EXPECT_EQ(text(position(0, 0)), text(1, 2, 3));
  const Point empty = centroid(1);
  EXPECT_TRUE(std::isnan(empty.x) && std::isnan(empty.y) && std::isnan(empty.z));
  EXPECT_EQ(text(centroid(2)), text(7, 7, 7));
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(SimulationStep, LoopsBeyondTheTablesReportSubscriptOutOfRange) {
  const struct {
    float kinds;
    float count_of_kind_0;
  } cases[] = {{1, 802}, {102, 3}};
  const auto set_up = [&](const auto& c) {
    SetUp();
    host.reports.clear();
    program().central_attraction = 1;
    model({{{1, 2, 3}}}, {});
    n_kinds() = c.kinds;
    program().color_count(0) = c.count_of_kind_0;
  };
  for (const auto& c : cases) {
    set_up(c);
    host.answer_when_unscripted = true;
    simulate_step();
    ASSERT_FALSE(host.reports.empty()) << c.kinds;
    EXPECT_NE(host.reports.front().text.find("Subscript out of range"), std::string::npos) << c.kinds;
    EXPECT_EQ(text(position(0, 0)), text(0.6666666f, 1.333333f, 2)) << c.kinds;  // inside still moves

    set_up(c);
    host.answer_when_unscripted = false;
    EXPECT_THROW(simulate_step(), ProgramEnd) << c.kinds;
  }
}

TEST_F(SimulationStep, AllThreadsGiveTheOneThreadResultBitForBit) {
  auto& g = program();
  g.central_attraction = 3;
  const int kinds = 5;
  n_kinds() = kinds;
  const char signs[] = "+-";
  for (int k = 0; k < kinds; ++k) {
    g.color_count(k) = static_cast<float>(30 + 7 * k);
    for (int t = 0; t < kinds; ++t) g.kind_rules(k) += std::string(1, signs[(k + t) % 2]) + "1" + std::to_string(t);
    for (int j = 0; j < 30 + 7 * k; ++j) set_position(k, j, {rnd() * 100 - 50, rnd() * 100 - 50, rnd() * 100 - 50});
  }
  set_position(1, 3, position(1, 4));  // two particles at one place
  const auto start = std::make_unique<Program>(g);

  const auto run = [&](int threads) {
    *current_program = *start;
    set_simulation_threads(threads);
    for (int step = 0; step < 3; ++step) simulate_step();
    return std::make_unique<Program>(*current_program);
  };
  const auto one = run(1);
  const auto all = run(0);
  EXPECT_EQ(std::memcmp(one->particle.data(), all->particle.data(), sizeof(float) * decltype(one->particle)::size), 0);
  EXPECT_EQ(std::memcmp(one->color_center.data(), all->color_center.data(), sizeof(float) * decltype(one->color_center)::size), 0);
  EXPECT_EQ(std::memcmp(&one->force_max, &all->force_max, sizeof(float)), 0);
  EXPECT_GT(one->force_max, 0);
}

// Random models of up to 1,000 particles, several steps each: the fast step on every vector set
// and thread count against the extended step, bit for bit.
TEST_F(SimulationStep, FastStepGivesTheExtendedStepBitForBit) {
  const int sizes[] = {3, 99, sanitized_build ? 300 : 1000};
  for (const int size : sizes) {
    SetUp();
    auto& g = program();
    g.central_attraction = rnd() < 0.5f ? 0 : std::floor(rnd() * 50);
    g.cube_confine = rnd() < 0.5f ? 0 : 1;
    const int kinds = 1 + static_cast<int>(rnd() * std::min(size, 10));
    n_kinds() = static_cast<float>(kinds);
    int placed = 0;
    for (int k = 0; k < kinds; ++k) {
      const int count = k + 1 == kinds ? size - placed : static_cast<int>(rnd() * static_cast<float>(size - placed));
      placed += count;
      g.color_count(k) = static_cast<float>(count);
      for (int t = 0; t < kinds; ++t)
        if (rnd() < 0.7f) g.kind_rules(k) += std::string(rnd() < 0.5f ? "+" : "-") + std::to_string(1 + static_cast<int>(rnd() * 9)) + std::to_string(t);
      for (int j = 0; j < count; ++j) set_position(k, j, {rnd() * 100 - 50, rnd() * 100 - 50, rnd() * 100 - 50});
      if (count > 2) set_position(k, 1, position(k, 0));  // coincident particles
    }
    const auto start = std::make_unique<Program>(g);
    const auto run = [&](VectorIsa isa, int threads) {
      *current_program = *start;
      choose_vector_isa(isa);
      set_simulation_threads(threads);
      for (int step = 0; step < 4; ++step) simulate_step();
      return std::make_unique<Program>(*current_program);
    };
    const auto extended = run(VectorIsa::none, 0);
    for (const VectorIsa isa : vector_isas_of_this_machine()) {
      for (const int threads : {1, 0}) {
        const auto fast = run(isa, threads);
        const std::string what = std::to_string(size) + " particles, " + vector_isa_name(isa) + ", threads " + std::to_string(threads);
        EXPECT_EQ(std::memcmp(fast->particle.data(), extended->particle.data(), sizeof(float) * decltype(fast->particle)::size), 0) << what;
        EXPECT_EQ(std::memcmp(fast->color_center.data(), extended->color_center.data(), sizeof(float) * decltype(fast->color_center)::size), 0) << what;
        EXPECT_EQ(std::memcmp(&fast->force_max, &extended->force_max, sizeof(float)), 0) << what;
      }
    }
  }
}

}  // namespace
