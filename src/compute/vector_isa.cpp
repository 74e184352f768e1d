#include "compute/vector_isa.h"

#include <atomic>

namespace {

VectorIsa detect() {
  __builtin_cpu_init();
  // The AVX-512 kernels use the foundation set only; the operating system's support for the
  // wide registers is part of what the compiler's check reports.
  if (__builtin_cpu_supports("avx512f")) return VectorIsa::avx512;
  // The AVX2 lanes and SLEEF's AVX2 functions use fused multiply-adds.
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) return VectorIsa::avx2;
  return VectorIsa::scalar;
}

std::atomic<int>& chosen() {
  static std::atomic<int> isa{static_cast<int>(best_vector_isa())};
  return isa;
}

}  // namespace

VectorIsa best_vector_isa() {
  static const VectorIsa best = detect();
  return best;
}

VectorIsa vector_isa() { return static_cast<VectorIsa>(chosen().load(std::memory_order_relaxed)); }

void choose_vector_isa(VectorIsa isa) {
  const int allowed = static_cast<int>(best_vector_isa());
  const int wanted = static_cast<int>(isa);
  chosen().store(wanted < allowed ? wanted : allowed, std::memory_order_relaxed);
}
