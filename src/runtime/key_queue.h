#pragma once
// The key queue and the held-key list. The window thread writes them, the logic reads them;
// each has one writer and one reader and no lock.
#include <array>
#include <atomic>
#include <cstdint>

// A ring of 16 entries (character code, scan code); one stays free, so at most 15 keys wait.
struct KeyQueue {
  std::array<std::array<std::uint8_t, 2>, 16> entries{};
  std::atomic<unsigned> write_position{0};
  std::atomic<unsigned> read_position{0};
};

// The codes of the keys held down now; a slot holds 0 when free.
struct HeldKeys {
  std::array<std::atomic<int>, 32> codes{};
};
