#pragma once
// The vector sets this machine offers, for tests that run every path by choosing each in turn
// (not `none`, which has no lanes).
#include <vector>

#include "compute/vector_isa.h"

inline std::vector<VectorIsa> vector_isas_of_this_machine() {
  std::vector<VectorIsa> isas;
  for (int isa = static_cast<int>(VectorIsa::scalar); isa <= static_cast<int>(best_vector_isa()); ++isa) isas.push_back(static_cast<VectorIsa>(isa));
  return isas;
}

inline const char* vector_isa_name(VectorIsa isa) {
  switch (isa) {
    case VectorIsa::avx512: return "avx512";
    case VectorIsa::avx2: return "avx2";
    case VectorIsa::scalar: return "scalar";
    case VectorIsa::none: break;
  }
  return "none";
}

// Sanitizer builds run the large random tests on fewer inputs.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized_build = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool sanitized_build = true;
#else
constexpr bool sanitized_build = false;
#endif
#else
constexpr bool sanitized_build = false;
#endif
