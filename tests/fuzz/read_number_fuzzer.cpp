// Reads numbers from arbitrary bytes, as a file and as a text: nothing may crash, read outside
// its buffers or loop without end, and every read either gives a value or fails cleanly.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "context/program.h"
#include "host/headless_host.h"
#include "runtime/control.h"
#include "runtime/files/files.h"
#include "runtime/number_text.h"
#include "runtime/runtime.h"

namespace {

HeadlessHost host;

const std::string& scratch_file() {
  static const std::string name = "/tmp/read_number_fuzzer." + std::to_string(getpid());
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool started = (start_runtime(host), true);
  (void)started;
  FailureState& failures = runtime().failures;
  failures.pending = 0;

  val_string(std::string(reinterpret_cast<const char*>(data), size));
  failures.pending = 0;

  std::FILE* file = std::fopen(scratch_file().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  open_file(scratch_file(), file_mode_input, 1);
  // Each read consumes at least one byte or ends the file, so size + 1 reads reach the end.
  for (std::size_t read = 0; read <= size + 1 && failures.pending == 0; ++read) file_read_number(1);
  const bool reached_end = failures.pending == error_input_past_end || failures.pending == error_overflow;
  failures.pending = 0;
  close_file(1);
  if (!reached_end) __builtin_trap();
  return 0;
}
