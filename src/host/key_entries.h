#pragma once
// What a key press puts into the key queue: (character code, scan code), with PC keyboard scan
// codes. A key without a character, and any key with Alt held, gives (0, scan code).
#include <cstdint>

struct KeyEntry {
  std::uint8_t code = 0, scan_code = 0;
};

// A key that typed the character (as the window reports it, which already holds the control
// code of a Ctrl letter), with the modifiers held.
KeyEntry typed_key_entry(unsigned char typed, bool ctrl_held, bool alt_held);
// The scan code of the key that types the character, 0 when no key of the table does.
std::uint8_t character_scan_code(unsigned char typed);
