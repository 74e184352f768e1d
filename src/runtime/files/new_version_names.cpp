#include "runtime/files/new_version_names.h"

#include <cstdio>
#include <random>

namespace {

const char* const new_version_mark = ".saving";
constexpr std::size_t unique_digits = 8;

bool is_hex_digit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string unique_new_version_name(const std::string& target_name) {
  char suffix[unique_digits + 2];
  std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(std::random_device{}()));
  return target_name + new_version_mark + suffix;
}

bool is_new_version_name_of(const std::string& entry, const std::string& target_name) {
  const std::string stem = target_name + new_version_mark;
  if (entry == stem) return true;
  if (entry.size() != stem.size() + 1 + unique_digits || entry.compare(0, stem.size(), stem) != 0 || entry[stem.size()] != '.')
    return false;
  for (std::size_t i = stem.size() + 1; i < entry.size(); ++i)
    if (!is_hex_digit(entry[i])) return false;
  return true;
}
