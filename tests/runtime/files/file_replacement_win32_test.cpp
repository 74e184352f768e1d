// The saves of the program on Windows, through the file operations, on real files in a folder
// of the test's own. Where a second program is needed, the test binary starts itself again: an
// environment variable tells the copy which part to play, and it plays it instead of the tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/files/files.h"
#include "runtime/files/program_folder.h"
#include "runtime/files/wide_names_win32.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

const wchar_t* const part_variable = L"SWARM_SECOND_PROCESS_PART";
const wchar_t* const ready_variable = L"SWARM_SECOND_PROCESS_READY";  // an event it sets once under way
const wchar_t* const go_variable = L"SWARM_SECOND_PROCESS_GO";        // an event it waits for, if named
const char* const non_ascii_folder = "mentés ő ű";                   // as UTF-8 bytes

// Saves the lines, as the state file is saved; the failure the save raised, 0 for none.
int save(const std::string& name, const std::vector<std::string>& lines) {
  open_file(name, file_mode_output, 1);
  for (const std::string& line : lines) file_print_text(1, line, true, false, true);
  close_file(1);
  const int failure = runtime().failures.pending;
  runtime().failures.pending = 0;
  return failure;
}

std::vector<std::string> state_of(const std::string& value) { return std::vector<std::string>(17018, value); }

std::string bytes_of(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + " \r\n";
  return bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(utf8_name(entry.path().filename().wstring()));
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring variable(const wchar_t* name) {
  wchar_t value[512];
  const DWORD length = GetEnvironmentVariableW(name, value, 512);
  return length == 0 || length >= 512 ? std::wstring() : std::wstring(value, length);
}

void set_event_named(const std::wstring& name) {
  if (name.empty()) return;
  const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str());
  SetEvent(event);
  CloseHandle(event);
}

void wait_for_event_named(const std::wstring& name) {
  if (name.empty()) return;
  const HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, name.c_str());
  WaitForSingleObject(event, INFINITE);
  CloseHandle(event);
}

// The parts a second process plays, in its current folder; each ends the process.
//   "save|N|VALUE": saves vorka.dat N times, every line VALUE; exits with the first failure.
//   "save-forever|VALUE": saves vorka.dat over and over until it is killed.
//   "hold": holds vorka.dat open for reading, sharing it with readers only, until it is killed.
//   "hold-shared": holds vorka.dat open for reading and writing, sharing both but not deletion,
//     as an editor or a sync program may, until it is killed.
//   "program-folder": writes its program's folder, in UTF-8, to program_folder.txt.
[[noreturn]] void play(const std::string& part) {
  HeadlessHost host;
  start_runtime(host);
  reset_program();
  std::istringstream fields(part);
  std::string what, count_text, value;
  std::getline(fields, what, '|');
  if (what == "save") std::getline(fields, count_text, '|');
  std::getline(fields, value);
  const int count = std::atoi(count_text.c_str());
  if (what == "hold" || what == "hold-shared") {
    const bool shared = what == "hold-shared";
    const HANDLE held = CreateFileW(L"vorka.dat", shared ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                    shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) ExitProcess(2);
    set_event_named(variable(ready_variable));
    Sleep(INFINITE);
  }
  if (what == "program-folder") {
    std::error_code error;
    const fs::path folder = program_folder(error);
    std::ofstream(L"program_folder.txt", std::ios::binary) << utf8_name(folder.wstring());
    ExitProcess(error ? 3 : 0);
  }
  set_event_named(variable(ready_variable));
  wait_for_event_named(variable(go_variable));
  const std::vector<std::string> model = state_of(value);
  for (int i = 0; what == "save-forever" || i < count; ++i)
    if (const int failure = save("vorka.dat", model)) ExitProcess(static_cast<UINT>(failure));
  ExitProcess(what == "save" ? 0 : 4);
}

// Plays the part before any test runs, when this process was started as a second process.
class SecondProcessPart : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::wstring part = variable(part_variable);
    if (!part.empty()) play(utf8_name(part));
  }
};
const ::testing::Environment* const second_process_part =
    ::testing::AddGlobalTestEnvironment(new SecondProcessPart);

std::wstring own_program() {
  std::wstring name(32768, L'\0');
  name.resize(GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size())));
  return name;
}

std::wstring unique_event_name(const wchar_t* what) {
  static int counter = 0;
  return L"swarm-" + std::wstring(what) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter);
}

// This test binary, started again to play a part in the given folder.
class SecondProcess {
 public:
  SecondProcess(const std::string& part, const fs::path& folder, const std::wstring& go_event = L"",
                const std::wstring& program = own_program())
      : ready_name_(unique_event_name(L"ready")) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, ready_name_.c_str());
    SetEnvironmentVariableW(part_variable, wide_name(part).value().c_str());
    SetEnvironmentVariableW(ready_variable, ready_name_.c_str());
    SetEnvironmentVariableW(go_variable, go_event.empty() ? nullptr : go_event.c_str());
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    quiet_ = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = quiet_;
    startup.hStdError = quiet_;
    // The copy runs this file's tests only, should it not take its part.
    std::wstring command = L"\"" + program + L"\" --gtest_filter=SaveOnWindows*";
    const bool started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        fs::absolute(folder).wstring().c_str(), &startup, &process_);
    SetEnvironmentVariableW(part_variable, nullptr);
    SetEnvironmentVariableW(ready_variable, nullptr);
    SetEnvironmentVariableW(go_variable, nullptr);
    EXPECT_TRUE(started) << "cannot start a second process: error " << GetLastError();
  }
  ~SecondProcess() {
    if (process_.hProcess != nullptr) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, INFINITE);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    CloseHandle(ready_);
    CloseHandle(quiet_);
  }
  SecondProcess(const SecondProcess&) = delete;
  SecondProcess& operator=(const SecondProcess&) = delete;

  // Waits until it is under way: true once it set its event, false when it ended first.
  bool wait_until_ready() {
    const HANDLE both[] = {ready_, process_.hProcess};
    return WaitForMultipleObjects(2, both, FALSE, 60000) == WAIT_OBJECT_0;
  }
  void kill() {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, INFINITE);
  }
  DWORD exit_code() {
    WaitForSingleObject(process_.hProcess, 120000);
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  std::wstring ready_name_;
  HANDLE ready_ = nullptr;
  HANDLE quiet_ = nullptr;
  PROCESS_INFORMATION process_{};
};

class SaveOnWindows : public FreshProgram {
 protected:
  void TearDown() override { abandon_all_files(); }
  TemporaryFolder folder;
};

// Two programs in one folder saving the same file at once, round after round: every round ends
// with the whole file of one of them, neither is told of a failure, and nothing is left beside.
TEST_F(SaveOnWindows, TwoProcessesSavingAtOnceLeaveOneWholeFile) {
  const std::string files[] = {bytes_of(state_of(" 1")), bytes_of(state_of("-1"))};
  constexpr int rounds = 6;
  for (int round = 0; round < rounds; ++round) {
    const std::wstring go_name = unique_event_name(L"go");
    const HANDLE go = CreateEventW(nullptr, TRUE, FALSE, go_name.c_str());
    SecondProcess first("save|5| 1", folder.path(), go_name);
    SecondProcess second("save|5|-1", folder.path(), go_name);
    ASSERT_TRUE(first.wait_until_ready());
    ASSERT_TRUE(second.wait_until_ready());
    SetEvent(go);  // both start at once
    EXPECT_EQ(first.exit_code(), 0u) << "round " << round;
    EXPECT_EQ(second.exit_code(), 0u) << "round " << round;
    CloseHandle(go);
    const std::string saved = folder.read("vorka.dat");
    EXPECT_TRUE(saved == files[0] || saved == files[1]) << "round " << round << ": " << saved.size() << " bytes";
    EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"vorka.dat"})) << "round " << round;
  }
}

// A save killed at a random moment, many times over: the file stays whole (the old or the new
// version), and nothing a killed save left outlives the next save.
TEST_F(SaveOnWindows, AProcessKilledDuringASaveLeavesTheOldOrTheNewFileWhole) {
  const std::vector<std::string> old_model = state_of(" 1"), next_model = state_of(" 3");
  const std::string new_file = bytes_of(state_of(" 2"));
  std::mt19937 moments(14);
  constexpr int kills = 20;
  int kills_that_left_a_file = 0;
  for (int kill = 0; kill < kills; ++kill) {
    ASSERT_EQ(save("vorka.dat", old_model), 0);
    SecondProcess saving("save-forever| 2", folder.path());
    ASSERT_TRUE(saving.wait_until_ready());
    Sleep(moments() % 80);
    saving.kill();
    const std::string after_kill = folder.read("vorka.dat");
    EXPECT_TRUE(after_kill == bytes_of(old_model) || after_kill == new_file) << "kill " << kill;
    kills_that_left_a_file += names_in(folder.path()).size() > 1;
    ASSERT_EQ(save("vorka.dat", next_model), 0);
    EXPECT_EQ(folder.read("vorka.dat"), bytes_of(next_model)) << "kill " << kill;
    EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"vorka.dat"})) << "kill " << kill;
  }
  std::cout << kills_that_left_a_file << " of " << kills << " kills left a file beside vorka.dat\n";
}

// A file that cannot be replaced, read-only or held by another program against changes, fails
// the open with "Permission denied" and stays as it was; once free, it is saved.
TEST_F(SaveOnWindows, AReadOnlyFileOrOneHeldByAnotherProcessIsNotReplaced) {
  folder.write("vorka.dat", "old\r\n");
  ASSERT_TRUE(SetFileAttributesW(L"vorka.dat", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(save("vorka.dat", {" 1"}), 70);
  EXPECT_EQ(folder.read("vorka.dat"), "old\r\n");
  EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"vorka.dat"}));
  ASSERT_TRUE(SetFileAttributesW(L"vorka.dat", FILE_ATTRIBUTE_NORMAL));

  {
    SecondProcess holding("hold", folder.path());
    ASSERT_TRUE(holding.wait_until_ready());
    EXPECT_EQ(save("vorka.dat", {" 1"}), 70);
    EXPECT_EQ(folder.read("vorka.dat"), "old\r\n");
    EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"vorka.dat"}));
  }
  EXPECT_EQ(save("vorka.dat", {" 2"}), 0);
  EXPECT_EQ(folder.read("vorka.dat"), " 2 \r\n");
}

// A file that another program holds open for reading and writing, sharing both but not its
// deletion, cannot be replaced but can be written: it is saved in place, as one file.
TEST_F(SaveOnWindows, AFileHeldWithWriteSharingButNoDeleteSharingIsSavedInPlace) {
  folder.write("vorka.dat", "old\r\n");
  SecondProcess holding("hold-shared", folder.path());
  ASSERT_TRUE(holding.wait_until_ready());
  EXPECT_EQ(save("vorka.dat", {" 1", " 2"}), 0);
  EXPECT_EQ(folder.read("vorka.dat"), " 1 \r\n 2 \r\n");
  EXPECT_EQ(names_in(folder.path()), (std::vector<std::string>{"vorka.dat"}));
}

// The saved file keeps the attributes of the one it replaces: hidden and system.
TEST_F(SaveOnWindows, ASaveKeepsTheFilesAttributes) {
  constexpr DWORD shown = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                                 DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
    folder.write("vorka.dat", "old\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"vorka.dat", attributes));
    ASSERT_EQ(GetFileAttributesW(L"vorka.dat") & shown, attributes) << "the file system keeps no attributes";
    EXPECT_EQ(save("vorka.dat", {" 1"}), 0) << attributes;
    EXPECT_EQ(GetFileAttributesW(L"vorka.dat") & shown, attributes) << attributes;
    EXPECT_EQ(folder.read("vorka.dat"), " 1 \r\n");
    SetFileAttributesW(L"vorka.dat", FILE_ATTRIBUTE_NORMAL);
  }
}

// A folder whose name has letters beyond ASCII: saved, read, deleted in, and entered as the
// program's own folder.
TEST_F(SaveOnWindows, AFolderWithNonAsciiLettersWorks) {
  const fs::path wide_folder = fs::absolute(wide_name(non_ascii_folder).value());
  ASSERT_TRUE(fs::create_directory(wide_folder));
  const std::string name = std::string(non_ascii_folder) + "\\vorka.dat";
  ASSERT_EQ(save(name, {" 5", " .3"}), 0);
  EXPECT_EQ(read_file(wide_folder / L"vorka.dat"), " 5 \r\n .3 \r\n");
  ASSERT_EQ(save(name, {" 6"}), 0);
  EXPECT_EQ(names_in(wide_folder), (std::vector<std::string>{"vorka.dat"}));
  open_file(name, file_mode_input, 1);
  EXPECT_EQ(file_read_number(1), 6);
  close_file(1);
  kill_files(std::string(non_ascii_folder) + "/*.dat");
  EXPECT_EQ(runtime().failures.pending, 0);
  EXPECT_TRUE(names_in(wide_folder).empty());

  const fs::path copy = wide_folder / L"particle_swarm_copy.exe";
  ASSERT_TRUE(fs::copy_file(own_program(), copy));
  {
    SecondProcess copied("program-folder", wide_folder, L"", copy.wstring());
    EXPECT_EQ(copied.exit_code(), 0u);
  }
  EXPECT_EQ(read_file(wide_folder / L"program_folder.txt"), utf8_name(wide_folder.wstring()));
}

}  // namespace
