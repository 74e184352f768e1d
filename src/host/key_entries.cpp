#include "host/key_entries.h"

#include <array>
#include <cctype>
#include <string_view>

namespace {

// Each key of the main block with the characters it types, unshifted then shifted.
struct KeyCharacters {
  std::uint8_t scan_code;
  std::string_view characters;
};

constexpr KeyCharacters key_characters[] = {
    {1, "\x1b"},  {2, "1!"},   {3, "2@"},   {4, "3#"},   {5, "4$"},   {6, "5%"},   {7, "6^"},
    {8, "7&"},    {9, "8*"},   {10, "9("},  {11, "0)"},  {12, "-_"},  {13, "=+"},  {14, "\b"},
    {15, "\t"},   {16, "qQ"},  {17, "wW"},  {18, "eE"},  {19, "rR"},  {20, "tT"},  {21, "yY"},
    {22, "uU"},   {23, "iI"},  {24, "oO"},  {25, "pP"},  {26, "[{"},  {27, "]}"},  {28, "\r\n"},
    {30, "aA"},   {31, "sS"},  {32, "dD"},  {33, "fF"},  {34, "gG"},  {35, "hH"},  {36, "jJ"},
    {37, "kK"},   {38, "lL"},  {39, ";:"},  {40, "'\""}, {41, "`~"},  {43, "\\|"}, {44, "zZ"},
    {45, "xX"},   {46, "cC"},  {47, "vV"},  {48, "bB"},  {49, "nN"},  {50, "mM"},  {51, ",<"},
    {52, ".>"},   {53, "/?"},  {57, " "},
};

constexpr std::uint8_t delete_scan_code = 83;

constexpr std::array<std::uint8_t, 128> make_scan_codes() {
  std::array<std::uint8_t, 128> codes{};
  for (const KeyCharacters& key : key_characters)
    for (char c : key.characters) codes[static_cast<unsigned char>(c)] = key.scan_code;
  return codes;
}

constexpr std::array<std::uint8_t, 128> scan_codes = make_scan_codes();

}  // namespace

std::uint8_t character_scan_code(unsigned char typed) { return typed < scan_codes.size() ? scan_codes[typed] : 0; }

KeyEntry typed_key_entry(unsigned char typed, bool ctrl_held, bool alt_held) {
  if (typed == 127) return {0, delete_scan_code};  // Delete types no character
  if (ctrl_held && std::isalpha(typed)) typed = static_cast<unsigned char>(std::tolower(typed) - 'a' + 1);
  const bool control_letter = ctrl_held && typed >= 1 && typed <= 26;
  const std::uint8_t scan_code = control_letter ? character_scan_code(static_cast<unsigned char>('a' + typed - 1))
                                                : character_scan_code(typed);
  if (alt_held) return {0, scan_code};
  return {typed, scan_code};
}
