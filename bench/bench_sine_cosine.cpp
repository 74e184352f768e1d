// The sine and cosine of a float, with the same bits on every system, beside the C library's
// double sine rounded to float that they replace: the step's arguments (1.5 to 8) and
// arguments of every size.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "runtime/numbers.h"

namespace {

std::vector<float> step_arguments() {
  std::mt19937 random(1);
  std::uniform_real_distribution<float> argument(1.5f, 8.0f);
  std::vector<float> values(4096);
  for (float& v : values) v = argument(random);
  return values;
}

std::vector<float> arguments_of_every_size() {
  std::mt19937 random(2);
  std::uniform_int_distribution<std::uint32_t> bits(0, 0x7f7fffff);
  std::vector<float> values(4096);
  for (float& v : values) v = std::bit_cast<float>(bits(random));
  return values;
}

template <class Function>
void run(benchmark::State& state, const std::vector<float>& arguments, Function function) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(function(arguments[i]));
    i = (i + 1) % arguments.size();
  }
}

float library_sine(float x) { return single(std::sin(static_cast<double>(x))); }
float library_cosine(float x) { return single(std::cos(static_cast<double>(x))); }

void sine_step(benchmark::State& state) { run(state, step_arguments(), sin_single); }
void library_sine_step(benchmark::State& state) { run(state, step_arguments(), library_sine); }
void cosine_step(benchmark::State& state) { run(state, step_arguments(), cos_single); }
void library_cosine_step(benchmark::State& state) { run(state, step_arguments(), library_cosine); }
void sine_any(benchmark::State& state) { run(state, arguments_of_every_size(), sin_single); }
void library_sine_any(benchmark::State& state) { run(state, arguments_of_every_size(), library_sine); }
BENCHMARK(sine_step);
BENCHMARK(library_sine_step);
BENCHMARK(cosine_step);
BENCHMARK(library_cosine_step);
BENCHMARK(sine_any);
BENCHMARK(library_sine_any);

}  // namespace

BENCHMARK_MAIN();
