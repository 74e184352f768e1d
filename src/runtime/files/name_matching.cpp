#include "runtime/files/name_matching.h"

#include <vector>

#include "runtime/files/upper_case.h"

namespace {

// A byte that starts no UTF-8 character, or one cut short, stands for itself, kept apart from
// every character by this offset, beyond the last one.
constexpr char32_t lone_byte = 0x110000;

bool continues(std::string_view text, std::size_t at) {
  return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// The characters of a text: each byte under the exact rule, each UTF-8 character upper-cased
// when case is ignored.
std::vector<char32_t> characters_of(std::string_view text, NameCase rule) {
  std::vector<char32_t> characters;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (rule == NameCase::exact) {
      characters.push_back(lead);
      ++at;
      continue;
    }
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    bool whole = length > 0;
    for (std::size_t i = 1; whole && i < length; ++i) whole = continues(text, at + i);
    if (!whole) {
      characters.push_back(lone_byte + lead);
      ++at;
      continue;
    }
    char32_t character = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) character = (character << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    characters.push_back(simple_upper_case(character));
    at += length;
  }
  return characters;
}

}  // namespace

bool name_matches(std::string_view pattern_text, std::string_view name_text, NameCase rule) {
  const std::vector<char32_t> pattern = characters_of(pattern_text, rule), name = characters_of(name_text, rule);
  // After a mismatch the last * takes one character more, and matching goes on behind it.
  std::size_t p = 0, n = 0, star = pattern.size(), after_star = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      after_star = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (star != pattern.size()) {
      p = star + 1;
      n = ++after_star;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}
