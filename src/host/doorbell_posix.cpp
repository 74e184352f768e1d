#include "host/doorbell.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>
#include <vector>

// The bell is an eventfd; the wait is one poll of it and the other descriptors.

Doorbell::Doorbell() : bell_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (bell_ < 0) throw std::system_error(errno, std::generic_category(), "the window's wake-up cannot be set up");
}

Doorbell::~Doorbell() { close(static_cast<int>(bell_)); }

void Doorbell::ring() {
  const std::uint64_t one = 1;
  // A full counter already wakes the window; nothing else can fail here.
  [[maybe_unused]] const ssize_t written = write(static_cast<int>(bell_), &one, sizeof one);
}

void Doorbell::wait(std::initializer_list<Waitable> also, int timeout_ms) {
  std::vector<pollfd> watched{{static_cast<int>(bell_), POLLIN, 0}};
  for (const Waitable descriptor : also)
    if (descriptor >= 0) watched.push_back({static_cast<int>(descriptor), POLLIN, 0});
  if (poll(watched.data(), watched.size(), timeout_ms) <= 0) return;
  if ((watched[0].revents & POLLIN) != 0) {
    std::uint64_t rings;
    [[maybe_unused]] const ssize_t read_bytes = read(static_cast<int>(bell_), &rings, sizeof rings);
  }
}
