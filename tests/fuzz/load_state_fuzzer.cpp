// Starts the program on a state file of arbitrary bytes and runs two passes of its main loop,
// on the headless host with the error report answered Yes a bounded number of times and then
// No. Nothing may crash, touch memory outside a table, leak or hang.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "app/main_loop.h"
#include "app/startup.h"
#include "context/program.h"
#include "host/headless_host.h"
#include "runtime/clock.h"
#include "runtime/control.h"
#include "runtime/runtime.h"

namespace {

constexpr int yes_answers = 40;

const std::string& scratch_folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/load_state_fuzzer.XXXXXX";
    return std::string(mkdtemp(name));
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (chdir(scratch_folder().c_str()) != 0) return 0;
  std::FILE* file = std::fopen("vorka.dat", "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  HeadlessHost host;
  host.report_answers.assign(yes_answers, true);
  start_runtime(host);
  host.start_clock_at(0);
  reset_program();
  try {
    start_up();
    main_restart();
    main_loop_pass();
    main_loop_pass();
  } catch (const ProgramEnd&) {
  } catch (const RestartRequest&) {
  } catch (const ErrorTrapTaken&) {
  }
  return 0;
}
