#pragma once
// Writes a page as a PNG image in the palette's colours, for a person to look at.
#include <string>

#include "runtime/screen.h"

// False when the file cannot be written.
bool write_page_png(const Page& page, const std::string& path);
