#pragma once
// The logic's tables. Every access rounds its float indexes to the nearest integer and checks
// each dimension; an index outside the bounds raises failure 9 and the access reaches a spare
// element that holds the type's zero, so nothing outside the table is ever read or written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "runtime/numbers.h"
#include "runtime/pending_failure.h"

// Checks a rounded index against a dimension of count elements: the low 32 bits of the index,
// taken as unsigned, must lie below the count. Raises failure 9 otherwise and returns -1.
inline std::int64_t check_array_index(std::int64_t index, std::int64_t count) {
  const bool not_a_number = index == std::numeric_limits<std::int64_t>::min();
  const std::uint32_t low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(index));
  if (not_a_number || low >= static_cast<std::uint64_t>(count)) {
    raise_error(error_subscript_out_of_range);
    return -1;
  }
  return low;
}

template <typename T, std::size_t... Counts>
class Table {
 public:
  static constexpr std::size_t size = (Counts * ...);

  // Checked access with float (or integer) indexes, as the logic indexes its tables.
  template <typename... Index>
  T& operator()(Index... indexes) {
    static_assert(sizeof...(Index) == sizeof...(Counts));
    std::int64_t flat = 0;
    bool inside = true;
    ((flat = flat * static_cast<std::int64_t>(Counts) + checked(indexes, Counts, inside)), ...);
    if (!inside) {
      spare_ = T{};
      return spare_;
    }
    return elements_[static_cast<std::size_t>(flat)];
  }

  // Direct access for loops whose bounds were checked once; indexes must be inside.
  template <typename... Index>
  T& unchecked(Index... indexes) {
    std::size_t flat = 0;
    ((flat = flat * Counts + static_cast<std::size_t>(indexes)), ...);
    return elements_[flat];
  }

  T* data() { return elements_.data(); }

 private:
  template <typename Index>
  static std::int64_t checked(Index index, std::size_t count, bool& inside) {
    std::int64_t rounded;
    if constexpr (std::is_integral_v<Index>)
      rounded = static_cast<std::int64_t>(index);
    else
      rounded = round_to_int64(static_cast<extended>(index));
    const std::int64_t checked_index = check_array_index(rounded, static_cast<std::int64_t>(count));
    if (checked_index < 0) {
      inside = false;
      return 0;
    }
    return checked_index;
  }

  std::array<T, size> elements_{};
  T spare_{};
};
