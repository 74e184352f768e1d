#pragma once
// A start whose window could not be opened is made again, by a new run of the program: a window
// system that refused the process once may take the next one (an X server that took no new
// client for a moment leaves a process under Wine without a display for good). The runs count
// their tries through the environment.
#include <string>

// The number of tries a start makes before it reports that the window cannot be opened.
inline constexpr int start_attempts = 3;

// This run's try: 1 for the first.
int start_attempt();
// Runs the program again, after a pause that grows with the tries, with the given arguments
// (main's, as it received them) as the next try, and ends this run with the new one's exit
// code. Returns only when the new run cannot be started.
void start_again(char* const* arguments);

// The system's own part (start_again_posix.cpp, start_again_win32.cpp): the environment
// variable set to the value, then the program run again in its place.
void run_again_with(const char* variable, const std::string& value, char* const* arguments);
