#include <windows.h>

#include <cstdio>

#include "host/failure_notice.h"
#include "host/wide_text_win32.h"

void show_failure_notice(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  MessageBoxW(nullptr, wide_text(text).c_str(), L"particle_swarm", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}
