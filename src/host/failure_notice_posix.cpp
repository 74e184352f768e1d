#include <cstdio>

#include "host/failure_notice.h"

void show_failure_notice(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
