#pragma once
// The local time of a moment, in the time zone the program runs in; each system converts it in
// a file of its own.
#include <ctime>

std::tm local_time_of(std::time_t moment);
