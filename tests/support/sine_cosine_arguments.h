#pragma once
// The arguments on which the sine and cosine are checked, here against MPFR and on every system
// by a digest: every float from 1.5 to 8 (the simulation step's sine arguments, 21 million),
// then every 1021st positive float up to the largest and, offset by 510, their negatives
// (2.1 million each). Checks run on every core, in blocks of consecutive arguments.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <thread>
#include <vector>

namespace sine_cosine_arguments {

constexpr std::uint32_t step_first = 0x3fc00000;  // 1.5
constexpr std::uint32_t step_end = 0x41000000;    // 8, left out
constexpr std::uint32_t wide_stride = 1021, negative_offset = 510;
constexpr std::uint32_t wide_end = 0x7f800000;  // infinity
constexpr std::uint64_t step_count = step_end - step_first;
constexpr std::uint64_t wide_count = (wide_end + wide_stride - 1) / wide_stride;
constexpr std::uint64_t count = step_count + 2 * wide_count;

// The argument of index i, 0 <= i < count.
inline float argument(std::uint64_t i) {
  if (i < step_count) return std::bit_cast<float>(static_cast<std::uint32_t>(step_first + i));
  i -= step_count;
  if (i < wide_count) return std::bit_cast<float>(static_cast<std::uint32_t>(i * wide_stride));
  i -= wide_count;
  const std::uint64_t bits = (i * wide_stride + negative_offset) % wide_end;
  return std::bit_cast<float>(static_cast<std::uint32_t>(bits) | 0x80000000u);
}

// Calls check(first, end, stride, thread) for blocks of the indices 0 to count - 1, one block
// per core; a check takes every stride-th index of its block (the sanitizer builds thin them
// out) and touches nothing another block's check writes.
template <class Check>
void in_parallel(std::uint64_t stride, Check check) {
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  const std::uint64_t per_thread = (count + threads - 1) / threads;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      const std::uint64_t first = std::min<std::uint64_t>(count, t * per_thread);
      const std::uint64_t end = std::min<std::uint64_t>(count, first + per_thread);
      check(first, end, stride, t);
    });
  for (std::thread& worker : workers) worker.join();
}

// The digest of the sines and cosines of every argument, which sine_cosine_posix_test.cpp
// computes from MPFR's values; every system must give the same.
constexpr std::uint64_t reference_digest = 15748233221792437108u;

// A digest of one argument's sine and cosine: FNV-1a over the three values' bits. The digest
// of a set is the sum of its arguments' digests, whatever their order.
inline std::uint64_t digest(float x, float sine, float cosine) {
  std::uint64_t hash = 0xcbf29ce484222325;
  for (const float value : {x, sine, cosine}) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) hash = (hash ^ ((bits >> (8 * byte)) & 0xff)) * 0x100000001b3;
  }
  return hash;
}

}  // namespace sine_cosine_arguments
