#pragma once
// The system's own message box for the error report and for the failure that ends the
// program. It runs on a thread of its own: the window's thread must keep its freeglut loop
// presenting and must still see the window's close, which a box's modal loop there would hold
// up, and the logic's thread only waits for the answer.
#include <atomic>
#include <functional>
#include <thread>

#include "host/report_mailbox.h"

class SystemMessageBox {
 public:
  SystemMessageBox() = default;
  SystemMessageBox(const SystemMessageBox&) = delete;
  SystemMessageBox& operator=(const SystemMessageBox&) = delete;
  ~SystemMessageBox() { dismiss(); }

  // Shows the report and returns at once; `answered` gets true for Yes (or OK), on the box's
  // thread, once the box is closed. An earlier box that still shows is taken down first.
  void show(const PostedReport& report, std::function<void(bool)> answered);
  // Takes down the box that shows, if any (its answer is No), and waits for its thread.
  void dismiss();

 private:
  std::thread thread_;
  std::atomic<unsigned long> thread_id_{0};
  std::atomic<bool> finished_{true};
};
