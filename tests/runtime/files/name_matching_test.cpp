// File names matched against patterns under both systems' rules, on every host.
#include "runtime/files/name_matching.h"

#include <gtest/gtest.h>

namespace {

TEST(NameMatching, BothRulesOnTheSameCases) {
  const struct {
    const char* pattern;
    const char* name;
    bool exact, ignored;
  } cases[] = {
      {"vorka.dat", "vorka.dat", true, true},
      {"vorka.dat", "VORKA.DAT", false, true},
      {"*.DAT", "Vorka.dat", false, true},
      {"vorka.dat", "vorka.da", false, false},
      {"vorka.da", "vorka.dat", false, false},
      // Wildcards: * takes any run, none included, and gives back what a later part needs.
      {"*", "", true, true},
      {"?", "", false, false},
      {"*a*b", "xaaybzb", true, true},
      {"*A*B", "xaaybzb", false, true},
      {"a*b*c", "abcbc", true, true},
      {"*.dat", "vorka.dat.saving", false, false},
      {"v?rka.*", "vOrka.txt", true, true},
      // ? is one byte under the exact rule and one character when case is ignored.
      {"v?rka.dat", "v\xc3\xb6rka.dat", false, true},
      {"v??rka.dat", "v\xc3\xb6rka.dat", true, false},
      // Letters beyond ASCII: Hungarian, Greek (final sigma too), Cyrillic.
      {"\xc3\xa1rv\xc3\xadzt\xc5\xb1r\xc5\x91.dat", "\xc3\x81RV\xc3\x8dZT\xc5\xb0R\xc5\x90.DAT", false, true},
      {"\xcf\x83\xcf\x82", "\xce\xa3\xce\xa3", false, true},
      {"\xd0\xb6\xd1\x8f", "\xd0\x96\xd0\xaf", false, true},
      // Simple upper-casing maps one character to one: the sharp s is not "SS".
      {"stra\xc3\x9f" "e", "STRASSE", false, false},
      // Beyond the Basic Multilingual Plane a letter keeps its case (Deseret long i).
      {"\xf0\x90\x90\xa8", "\xf0\x90\x90\x80", false, false},
      // Bytes that are no UTF-8 stand for themselves under both rules.
      {"\xff.dat", "\xff.dat", true, true},
      {"\xff.dat", "\xfe.dat", false, false},
      {"?.dat", "\xff.dat", true, true},
      {"\xc3.dat", "\xc3.DAT", false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(name_matches(c.pattern, c.name, NameCase::exact), c.exact) << c.pattern << " / " << c.name;
    EXPECT_EQ(name_matches(c.pattern, c.name, NameCase::ignored), c.ignored) << c.pattern << " / " << c.name;
  }
}

}  // namespace
