#pragma once
#include <string>
#include <vector>

// Runs the command of the pass's key, compared in lower case as a whole text; any other key,
// the empty one included, does nothing.
void dispatch_command();

// The keys of the command table, one for each command, in the table's order.
std::vector<std::string> command_keys();
