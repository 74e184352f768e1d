// Checks, over every positive finite float, the facts that make sin_single and cos_single the
// correctly rounded double rounded to float for every argument (runtime/sine_cosine.h): the
// exact reduction leaves |r| at least 2^-30 (its error bound assumes it), and every estimate
// that its bracket does not prove goes to a fixed-point value that lies clear of every double
// rounding boundary. A negative argument gives the same estimate with its sign bit turned, and
// so the same proof. Prints the arguments that need the fixed point; exits 1 if a fact fails.
// Usage: sine_cosine_sweep [THREADS]
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/sine_cosine.h"

int main(int argc, char** argv) {
  const unsigned threads = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : std::thread::hardware_concurrency();
  constexpr std::uint32_t first_reduced = 0x3f490fdb;  // the float above pi/4
  constexpr std::uint32_t infinity = 0x7f800000;
  std::mutex report;
  long unproven = 0, failed = 0;
  int smallest_r_exponent = 0;  // |r| >= 2^(exponent + 127), the mantissa's top bit
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < std::max(threads, 1u); ++t)
    workers.emplace_back([&, t] {
      long own_unproven = 0, own_failed = 0;
      int own_smallest = 0;
      for (std::uint64_t bits = 1 + t; bits < infinity; bits += std::max(threads, 1u)) {
        const float x = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        if (bits >= first_reduced) own_smallest = std::min(own_smallest, sine_cosine::reduce(x).exponent + 127);
        for (const bool cosine : {false, true}) {
          if (sine_cosine::proven_float(sine_cosine::estimate(x, cosine)) != 0) continue;
          bool decided;
          const float value = sine_cosine::precise_float(x, cosine, decided);
          const bool fails = !decided;
          ++own_unproven;
          own_failed += fails;
          const std::lock_guard lock(report);
          std::printf("%s(%a) = %a by the fixed point%s\n", cosine ? "cos" : "sin", x, value, fails ? ": FAILS" : "");
        }
      }
      const std::lock_guard lock(report);
      unproven += own_unproven;
      failed += own_failed;
      smallest_r_exponent = std::min(smallest_r_exponent, own_smallest);
    });
  for (std::thread& worker : workers) worker.join();
  std::printf("%ld by the fixed point, %ld failed; smallest reduced |r| at least 2^%d\n", unproven, failed,
              smallest_r_exponent);
  return failed == 0 && smallest_r_exponent >= -30 ? 0 : 1;
}
