#include "compute/precision_control.h"

#include <cstdint>

#if !defined(__x86_64__) && !defined(__i386__)
#error "the exact results rely on the x87 unit of x86 processors"
#endif

namespace {

constexpr std::uint16_t precision_field = 0x0300;      // bits 8 and 9 of the control word
constexpr std::uint16_t extended_precision = 0x0300;   // 64-bit significand

std::uint16_t control_word() {
  std::uint16_t word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

}  // namespace

bool extended_precision_selected() { return (control_word() & precision_field) == extended_precision; }

void select_extended_precision() {
  const std::uint16_t word = control_word();
  if ((word & precision_field) == extended_precision) return;
  const std::uint16_t extended_word = static_cast<std::uint16_t>((word & ~precision_field) | extended_precision);
  asm volatile("fldcw %0" : : "m"(extended_word));
}
