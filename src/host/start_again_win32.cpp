#include <windows.h>

#include <string>
#include <vector>

#include "host/start_again.h"

// Windows has no exec: the new run is a child with this one's command line, handles and
// environment, and this run waits for it and ends with its exit code.
void run_again_with(const char* variable, const std::string& value, char* const*) {
  SetEnvironmentVariableA(variable, value.c_str());
  std::vector<wchar_t> program(MAX_PATH * 4);
  const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
  if (length == 0 || length >= program.size()) return;
  std::wstring command_line = GetCommandLineW();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(program.data(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
    return;
  CloseHandle(child.hThread);
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD exit_code = 1;
  GetExitCodeProcess(child.hProcess, &exit_code);
  ExitProcess(exit_code);
}
