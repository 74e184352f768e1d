#include "view/shapes_ahead.h"

#include <algorithm>
#include <cstdint>
#include <emmintrin.h>
#include <optional>

#include "compute/worker_pool.h"
#include "context/program.h"
#include "runtime/screen.h"
#include "view/projection.h"

namespace {

// A layer's pixel that no shape has drawn: colours are 0-15.
constexpr std::uint8_t unwritten = 0xff;

// The drawn pixels of the layers, in their order, over rows [first_row, end_row) of the page,
// sixteen at a time: a page row is a whole number of 16-pixel runs.
void lay_over(Page& page, const std::vector<Page>& layers, std::size_t first_row, std::size_t end_row) {
  const std::size_t begin = first_row * page.width, end = end_row * page.width;
  std::uint8_t* target = page.pixels.data();
  const __m128i unwritten_run = _mm_set1_epi8(static_cast<char>(unwritten));
  for (const Page& layer : layers) {
    const std::uint8_t* drawn = layer.pixels.data();
    std::size_t i = begin;
    for (; i + 16 <= end; i += 16) {
      const __m128i over = _mm_loadu_si128(reinterpret_cast<const __m128i*>(drawn + i));
      const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(target + i));
      const __m128i keep = _mm_cmpeq_epi8(over, unwritten_run);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i),
                       _mm_or_si128(_mm_and_si128(keep, under), _mm_andnot_si128(keep, over)));
    }
    for (; i < end; ++i)
      if (drawn[i] != unwritten) target[i] = drawn[i];
  }
}

}  // namespace

bool drawing_ahead_pays(double shapes) { return worker_count() > 1 && shapes >= shapes_worth_drawing_ahead; }

void draw_shapes_ahead(const std::vector<ShapeAt>& shapes, float shape, float size) {
  auto& g = program();
  Page& page = drawing_page();
  const std::size_t layer_count = static_cast<std::size_t>(std::max(1, worker_count()));
  g.layers_ahead.resize(layer_count);
  std::vector<std::optional<LastPoint>> last_points(layer_count);
  // Layer i holds the i-th of layer_count consecutive runs of shapes.
  parallel_for(layer_count, 1, [&](std::size_t begin, std::size_t end, int) {
    for (std::size_t i = begin; i < end; ++i) {
      Page& layer = g.layers_ahead[i];
      layer.width = page.width;
      layer.height = page.height;
      layer.pixels.assign(page.pixels.size(), unwritten);
      const std::size_t first = shapes.size() * i / layer_count, last = shapes.size() * (i + 1) / layer_count;
      for (std::size_t s = first; s < last; ++s)
        if (auto point = draw_shape_on_page(layer, shapes[s], shape, size)) last_points[i] = point;
    }
  });
  constexpr std::size_t rows_a_run = 16;
  parallel_for(static_cast<std::size_t>(page.height), rows_a_run,
               [&](std::size_t first_row, std::size_t end_row, int) { lay_over(page, g.layers_ahead, first_row, end_row); });
  for (auto point = last_points.rbegin(); point != last_points.rend(); ++point)
    if (*point) {
      set_last_point((*point)->x, (*point)->y);
      break;
    }
  take_mouse_events(static_cast<std::int64_t>(shapes.size()) * projections_per_shape(shape));
  drawing_page_changed();
}
