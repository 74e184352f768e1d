#pragma once
// The keys: the logic takes typed keys from the queue and asks which keys are held; the window
// thread queues them.
#include <cstdint>
#include <string>

#include "runtime/key_queue.h"

constexpr int key_left_shift = 100304;
constexpr int key_right_shift = 100303;

// The logic's side.
std::string inkey();
float key_down(int code);

// The window's side: a key press with its character code (0 for a key without one) and scan
// code, and the press or release of a key for the held-key list.
void queue_key(std::uint8_t code, std::uint8_t scan_code);
void set_key_held(int code, bool held);
