#include "runtime/keyboard.h"

#include <thread>

#include "runtime/pending_failure.h"
#include "runtime/runtime.h"

std::string inkey() {
  std::this_thread::yield();  // the unthrottled main loop's one yield
  if (failure_pending()) return {};
  KeyQueue& queue = runtime().keys;
  const unsigned read = queue.read_position.load(std::memory_order_relaxed);
  if (read == queue.write_position.load(std::memory_order_acquire)) return {};
  const auto entry = queue.entries[read];
  queue.read_position.store((read + 1) % queue.entries.size(), std::memory_order_release);
  const char code = static_cast<char>(entry[0]), scan_code = static_cast<char>(entry[1]);
  if (code != 0 || scan_code == 0) return std::string(1, code);
  return std::string{'\0', scan_code};
}

void queue_key(std::uint8_t code, std::uint8_t scan_code) {
  KeyQueue& queue = runtime().keys;
  const unsigned write = queue.write_position.load(std::memory_order_relaxed);
  const unsigned next = (write + 1) % queue.entries.size();
  if (next == queue.read_position.load(std::memory_order_acquire)) return;  // 15 waiting: dropped
  queue.entries[write] = {code, scan_code};
  queue.write_position.store(next, std::memory_order_release);
}

float key_down(int code) {
  if (code <= 0) {
    raise_error(error_illegal_function_call);
    return 0;
  }
  for (const auto& slot : runtime().held_keys.codes)
    if (slot.load(std::memory_order_relaxed) == code) return -1;
  return 0;
}

void set_key_held(int code, bool held) {
  if (code <= 0) return;
  auto& codes = runtime().held_keys.codes;
  for (auto& slot : codes)
    if (slot.load(std::memory_order_relaxed) == code) {
      if (!held) slot.store(0, std::memory_order_relaxed);
      return;
    }
  if (!held) return;
  for (auto& slot : codes)
    if (slot.load(std::memory_order_relaxed) == 0) {
      slot.store(code, std::memory_order_relaxed);
      return;
    }
}
