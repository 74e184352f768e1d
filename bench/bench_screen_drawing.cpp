// Costs of the drawing operations a frame uses: a printed row, lines, circles and pixels.
#include <benchmark/benchmark.h>

#include <string>

#include "host/headless_host.h"
#include "runtime/control.h"
#include "runtime/screen.h"

namespace {

void start_graphics(HeadlessHost& host) {
  start_runtime(host);
  set_screen_mode(12, 0, 1, 13);
}

void print_full_row(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  const std::string row(80, 'x');
  for (auto _ : state) {
    set_text_cursor(5, 1);
    print_text(row, false);
  }
  state.SetItemsProcessed(state.iterations() * 80);
}
BENCHMARK(print_full_row);

void scroll_print_area(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  for (auto _ : state) {
    set_text_cursor(29, 1);
    print_text("", true);
  }
}
BENCHMARK(scroll_print_area);

void draw_clipped_line(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  for (auto _ : state) draw_line(-100, 17, 700, 463, 9);
}
BENCHMARK(draw_clipped_line);

void draw_short_line(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  for (auto _ : state) draw_line(300, 200, 310, 207, 9);
}
BENCHMARK(draw_short_line);

void draw_rotation_circle(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  for (auto _ : state) draw_circle(320, 220, 50, 0, 1, 0, 0, 4);
}
BENCHMARK(draw_rotation_circle);

void set_one_pixel(benchmark::State& state) {
  HeadlessHost host;
  start_graphics(host);
  float x = 0;
  for (auto _ : state) {
    set_pixel(x, 100, 12);
    x = x < 639 ? x + 1 : 0;
  }
}
BENCHMARK(set_one_pixel);

}  // namespace

BENCHMARK_MAIN();
