#include "host/doorbell.h"

#include <windows.h>

#include <system_error>
#include <vector>

// The bell is an auto-reset event: the wait that sees it set also resets it, so rings before a
// wait are kept and many rings wake it once. The wait also ends on any message in the calling
// thread's queue, also one that an earlier look at the queue left there.

namespace {

HANDLE event_of(Doorbell::Waitable bell) { return reinterpret_cast<HANDLE>(bell); }

}  // namespace

Doorbell::Doorbell() : bell_(reinterpret_cast<Waitable>(CreateEventW(nullptr, FALSE, FALSE, nullptr))) {
  if (bell_ == 0)
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "the window's wake-up cannot be set up");
}

Doorbell::~Doorbell() { CloseHandle(event_of(bell_)); }

void Doorbell::ring() { SetEvent(event_of(bell_)); }

void Doorbell::wait(std::initializer_list<Waitable> also, int timeout_ms) {
  std::vector<HANDLE> watched{event_of(bell_)};
  for (const Waitable handle : also)
    if (handle >= 0) watched.push_back(reinterpret_cast<HANDLE>(handle));
  MsgWaitForMultipleObjectsEx(static_cast<DWORD>(watched.size()), watched.data(),
                              timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}
