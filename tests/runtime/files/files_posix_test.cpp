// Failures of the open that only a POSIX system's files produce.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "runtime/files/files.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

class FilesOnPosix : public FreshProgram {
 protected:
  void TearDown() override { abandon_all_files(); }
  TemporaryFolder folder;
};

// A socket in the folder: a name that leads to no device a file can be read from.
int bind_socket(const char* name) {
  const int endpoint = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, name, sizeof address.sun_path - 1);
  EXPECT_EQ(bind(endpoint, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  return endpoint;
}

TEST_F(FilesOnPosix, OpeningASocketOrALoopOfLinksFails) {
  const int endpoint = bind_socket("socket.dat");
  fs::create_symlink("loop.dat", "loop.dat");
  const struct {
    const char* what;
    const char* name;
    int mode;
    int failure;
  } cases[] = {
      {"a socket, reading", "socket.dat", file_mode_input, 68},
      {"a loop of links, reading", "loop.dat", file_mode_input, 53},
      {"a loop of links, writing", "loop.dat", file_mode_output, 53},
  };
  for (const auto& c : cases) {
    open_file(c.name, c.mode, 1);
    EXPECT_EQ(take_failure(), c.failure) << c.what;
    abandon_all_files();
  }
  close(endpoint);
}

}  // namespace
