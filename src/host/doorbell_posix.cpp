#include "host/doorbell.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <vector>

Doorbell::Doorbell() : descriptor_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (descriptor_ < 0) throw std::system_error(errno, std::generic_category(), "the window's wake-up cannot be set up");
}

Doorbell::~Doorbell() { close(descriptor_); }

void Doorbell::ring() {
  const std::uint64_t one = 1;
  // A full counter already wakes the window; nothing else can fail here.
  [[maybe_unused]] const ssize_t written = write(descriptor_, &one, sizeof one);
}

void Doorbell::wait(std::initializer_list<int> also_readable, int timeout_ms) {
  std::vector<pollfd> watched{{descriptor_, POLLIN, 0}};
  for (const int descriptor : also_readable)
    if (descriptor >= 0) watched.push_back({descriptor, POLLIN, 0});
  if (poll(watched.data(), watched.size(), timeout_ms) <= 0) return;
  if ((watched[0].revents & POLLIN) != 0) {
    std::uint64_t rings;
    [[maybe_unused]] const ssize_t read_bytes = read(descriptor_, &rings, sizeof rings);
  }
}
