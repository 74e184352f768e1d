// Keeps the desktop of a Wine prefix up while a test starts and ends programs one after another.
// Wine starts a desktop process when a program first makes a window and ends it once the last
// program with windows has ended, so each start of a test would otherwise start the desktop
// anew; on a busy machine that start can take longer than Wine waits for it, and the program
// then gets no display ("The explorer process failed to start": no window, no device context).
// On Windows the desktop is always there, so a test that keeps it up runs the program as Windows
// users do.
// Makes a window that is never shown, writes the file once it exists, and waits until it is
// killed. A top-level window, not a message-only one: Wine makes message-only windows without a
// display too, and a keeper whose desktop failed to start would keep that failure for every
// later start. Exit code 1 when the window could not be made (the desktop did not start).
// Usage: keep_desktop FILE
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: keep_desktop FILE\n");
    return 2;
  }
  const HWND window = CreateWindowA("STATIC", "keep_desktop", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!window) {
    std::fprintf(stderr, "keep_desktop: no window (error %lu)\n", GetLastError());
    return 1;
  }
  if (std::FILE* file = std::fopen(argv[1], "w")) std::fclose(file);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
