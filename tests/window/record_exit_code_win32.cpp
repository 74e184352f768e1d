// Runs a program, waits for its end and writes its exit code, as Windows reports it, to a file,
// then ends with the same code. Under Wine, the Linux process of a program that has ended is
// killed by Wine when its Linux side takes longer to close down than Wine allows (a busy
// machine), and whoever waits for it sees 137 whatever the program returned; the file holds the
// program's own code.
// Usage: record_exit_code FILE PROGRAM [ARGUMENT...], arguments without blanks. Exit code 2
// when the program could not be started.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: record_exit_code FILE PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::string command_line = argv[2];
  for (int i = 3; i < argc; ++i) command_line += std::string(" ") + argv[i];
  // The program writes its errors where this helper's go.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  HANDLE* const standard[] = {&startup.hStdInput, &startup.hStdOutput, &startup.hStdError};
  const DWORD standard_ids[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  for (int i = 0; i < 3; ++i) {
    *standard[i] = GetStdHandle(standard_ids[i]);
    SetHandleInformation(*standard[i], HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "record_exit_code: %s cannot be started (error %lu)\n", argv[2], GetLastError());
    return 2;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  if (std::FILE* file = std::fopen(argv[1], "w")) {
    std::fprintf(file, "%lu\n", code);
    std::fclose(file);
  }
  return static_cast<int>(code);
}
