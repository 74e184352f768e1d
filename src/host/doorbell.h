#pragma once
// How the logic wakes the window's thread, which otherwise sleeps until the X server has
// something for it: any thread rings, the window waits on the bell and its X connections at
// once. Rings before a wait are kept, and many rings wake it once.
#include <initializer_list>

class Doorbell {
 public:
  Doorbell();
  ~Doorbell();
  Doorbell(const Doorbell&) = delete;
  Doorbell& operator=(const Doorbell&) = delete;

  void ring();
  // Sleeps until the bell rings, one of the other descriptors (negative ones are left out) can
  // be read, or the timeout passes (in milliseconds; negative waits without end). A ring is
  // used up by the wait that sees it.
  void wait(std::initializer_list<int> also_readable, int timeout_ms);

 private:
  int descriptor_ = -1;
};
