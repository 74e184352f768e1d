#pragma once
// How the logic wakes the window's thread, which otherwise sleeps until its window system has
// something for it: any thread rings, the window waits on the bell and the window system at
// once. Rings before a wait are kept, and many rings wake it once.
#include <cstdint>
#include <initializer_list>

class Doorbell {
 public:
  // The system's own things a wait may watch besides the bell: descriptors that become
  // readable on POSIX, handles that become signalled on Windows. Negative ones are left out.
  using Waitable = std::intptr_t;

  Doorbell();
  ~Doorbell();
  Doorbell(const Doorbell&) = delete;
  Doorbell& operator=(const Doorbell&) = delete;

  void ring();
  // Sleeps until the bell rings, one of the other waitables is ready, or the timeout passes (in
  // milliseconds; negative waits without end). On Windows a message for the calling thread
  // also ends the wait, as a window's thread needs. A ring is used up by the wait that sees it.
  void wait(std::initializer_list<Waitable> also, int timeout_ms);

 private:
  Waitable bell_ = -1;  // the eventfd descriptor, or the event's handle
};
