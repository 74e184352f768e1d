#pragma once

// Runs the command of the pass's key, compared in lower case as a whole text; any other key,
// the empty one included, does nothing.
void dispatch_command();
