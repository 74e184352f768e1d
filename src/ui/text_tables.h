#pragma once

// Fills the command menu table and the colour names.
void init_tables();
