#pragma once
// A sum whose last bit survives only while the x87 unit keeps a 64-bit significand:
// 1 + 2^-60 on the calling thread, with its current precision control.
inline bool sum_keeps_extended_bits() {
  volatile long double one = 1, tiny = 0x1p-60L;
  const long double sum = one + tiny;
  return sum - one == tiny;
}
