#include "host/page_handover.h"

bool PageHandover::publish(const std::uint8_t* pixels, int width, int height) {
  HandedPage& page = buffers_[writer_];
  page.pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
  page.width = width;
  page.height = height;
  // Sequentially consistent with watch_for_page: either the window sees this page waiting,
  // or this side sees the window watching.
  writer_ = spare_.exchange(writer_ | fresh_bit, std::memory_order_seq_cst) & ~fresh_bit;
  return watched_.load(std::memory_order_seq_cst) && watched_.exchange(false, std::memory_order_seq_cst);
}

bool PageHandover::take_newest() {
  if (!page_waiting()) return false;
  reader_ = spare_.exchange(reader_, std::memory_order_acq_rel) & ~fresh_bit;
  return true;
}

bool PageHandover::page_waiting() const { return (spare_.load(std::memory_order_relaxed) & fresh_bit) != 0; }

bool PageHandover::watch_for_page() {
  watched_.store(true, std::memory_order_seq_cst);
  return (spare_.load(std::memory_order_seq_cst) & fresh_bit) == 0;
}
