#include "runtime/random.h"

#include <cstdint>
#include <cstring>

#include "runtime/pending_failure.h"
#include "runtime/runtime.h"

float rnd(float x) {
  if (failure_pending()) return 0;
  std::uint32_t& seed = runtime().seed;
  if (x < 0) {
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    seed = ((bits & 0xffffffu) + (bits >> 24)) & 0xffffffu;
  }
  if (x != 0) seed = (seed * 16598013u + 12820163u) & 0xffffffu;
  return static_cast<float>(seed) / 16777216.0f;
}
