#pragma once
// The hand-over of the shown page from the logic to the window: a triple buffer. The logic
// copies a page into its own buffer and swaps it with the spare one; the window swaps the spare
// one with its own when a newer page waits. Neither side waits for the other, and a buffer is
// only ever touched by the side that holds it, so a frame is never torn. A window that has
// nothing to show may ask to hear of the next page, so that it can sleep until then.
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

struct HandedPage {
  std::vector<std::uint8_t> pixels;  // one colour number per pixel, row by row
  int width = 0, height = 0;
};

class PageHandover {
 public:
  // The logic's side: copies the page and returns at once; true when the window asked to hear
  // of this page (it is told once per asking).
  bool publish(const std::uint8_t* pixels, int width, int height);
  // The window's side: takes the newest page when one was published since the last take.
  bool take_newest();
  bool page_waiting() const;
  // Asks to hear of the next page; false when one already waits, so there is nothing to wait for.
  bool watch_for_page();
  // The page taken last (empty before the first take).
  const HandedPage& taken() const { return buffers_[reader_]; }

 private:
  static constexpr unsigned fresh_bit = 4;
  std::array<HandedPage, 3> buffers_;
  unsigned writer_ = 0;                 // the logic's buffer
  unsigned reader_ = 1;                 // the window's buffer
  std::atomic<unsigned> spare_{2};      // the spare buffer, with fresh_bit when it is newer
  std::atomic<bool> watched_{false};    // the window waits to hear of the next page
};
