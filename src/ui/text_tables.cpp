#include "ui/text_tables.h"

#include "context/program.h"

namespace {

struct MenuEntry {
  const char* key;
  const char* label;
};

const MenuEntry menu_entries[] = {
    {"\x1b", "kilepes"},
    {"r", "random erok generalasa"},
    {"t", "random erok gen(vonzas nelkul) "},
    {"d", "random darabszam generalasa"},
    {"f", "egyenlo darabszam generalasa"},
    {"c", "babuk helyzete 0-ra (bigbang)"},
    {"q", "babuk helyzete random kockaba"},
    {"m", "jelenlegi allapot mentese"},
    {"b", "mentett allapot betoltese"},
    {"o", "visszaallitas (gyarivisszaall)"},
};

const char* const colour_names[16] = {
    "fekete", "kek",     "zold",  "turkisz",  "piros",  "lila",  "barna",  "Vszurke",
    "Sszurke", "Vkek",   "Vzold", "Vturkisz", "Vpiros", "Vlila", "citrom", "feher",
};

}  // namespace

void init_tables() {
  auto& g = program();
  g.menu_count = 10;
  for (int entry = 0; entry < 10; ++entry) {
    g.menu_item(entry, 0) = menu_entries[entry].key;
    g.menu_item(entry, 1) = menu_entries[entry].label;
  }
  for (int colour = 0; colour < 16; ++colour) g.color_name(colour) = colour_names[colour];
}
