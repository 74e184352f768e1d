#pragma once
// The vector instruction set the exact lanes run on, chosen once from what the processor offers,
// so that one binary runs on every x86-64 machine: 8 double lanes with AVX-512, 4 with AVX2 and
// FMA, one lane otherwise. The kernels of each set are compiled in their own files (named
// *_avx512.cpp and *_avx2.cpp) with that set's flags and are only called on a processor that
// has it.
//
// The set `none` has no lanes and proves nothing, so that every value comes from the extended
// formula: the oracle that the tests and benchmarks set beside the lanes.

enum class VectorIsa { none = 0, scalar = 1, avx2 = 2, avx512 = 3 };
constexpr int vector_isa_count = 4;

// The widest set this processor offers.
VectorIsa best_vector_isa();

// The set in force: the widest on offer, unless a test or a benchmark chose another.
VectorIsa vector_isa();

// Chooses the set in force; one wider than the processor offers is lowered to the widest it
// offers. Tests use it to run every path this machine has.
void choose_vector_isa(VectorIsa isa);

// Picks the entry of a per-set table (none, scalar, AVX2, AVX-512) for the set in force: how a
// routine family dispatches to its kernels through one function pointer.
template <class Kernel>
Kernel kernel_for_isa(const Kernel (&kernels)[vector_isa_count]) {
  return kernels[static_cast<int>(vector_isa())];
}
