#pragma once
// The key queue and the held-key list. The window thread writes them, the logic reads them;
// each has one writer and one reader and no lock.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

constexpr int key_left_shift = 100304;
constexpr int key_right_shift = 100303;

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

// The logic's side.
std::string inkey();
float key_down(int code);

// The window's side: a key press with its character code (0 for a key without one) and scan
// code, and the press or release of a key for the held-key list.
void queue_key(std::uint8_t code, std::uint8_t scan_code);
void set_key_held(int code, bool held);
