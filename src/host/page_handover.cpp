#include "host/page_handover.h"

void PageHandover::publish(const std::uint8_t* pixels, int width, int height) {
  HandedPage& page = buffers_[writer_];
  page.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  page.width = width;
  page.height = height;
  writer_ = spare_.exchange(writer_ | fresh_bit, std::memory_order_acq_rel) & ~fresh_bit;
}

bool PageHandover::take_newest() {
  if ((spare_.load(std::memory_order_relaxed) & fresh_bit) == 0) return false;
  reader_ = spare_.exchange(reader_, std::memory_order_acq_rel) & ~fresh_bit;
  return true;
}
