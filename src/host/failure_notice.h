#pragma once
// A failure that ends the program outside the logic's own error report (the window cannot be
// opened, the window system fails), told where the user sees it.
#include <string>

// Writes the text as a line of the error output; on Windows, where a desktop program has no
// console, it also shows the text in a message box and returns once that is closed.
void show_failure_notice(const std::string& text);
