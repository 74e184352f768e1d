// The program: the window on the main thread, the logic on a thread of its own.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>

#include "app/logic_thread.h"
#include "host/failure_notice.h"
#include "host/window_host.h"
#include "runtime/clock.h"
#include "runtime/control.h"
#include "runtime/files/program_folder.h"

namespace {

// The state file is kept beside the program, whatever folder it was started from.
void enter_program_folder() {
  std::error_code error;
  const std::filesystem::path folder = program_folder(error);
  if (!error) std::filesystem::current_path(folder, error);
  if (error) std::fprintf(stderr, "particle_swarm: cannot enter the program's folder: %s\n", error.message().c_str());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    enter_program_folder();
    WindowHost host(argc, argv);
    start_runtime(host);
    take_clock_base();
    int exit_code = 0;
    std::thread logic([&] {
      exit_code = run_logic();
      host.logic_ended();
    });
    host.run();
    logic.join();
    return exit_code;
  } catch (const std::exception& failure) {
    show_failure_notice(std::string("particle_swarm: ") + failure.what());
    return 1;
  }
}
