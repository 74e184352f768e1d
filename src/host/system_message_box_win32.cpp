#include "host/system_message_box_win32.h"

#include <windows.h>

#include "host/wide_text_win32.h"

namespace {

// System-modal, which also keeps the box above every other window, a full-screen one included.
UINT box_style(DialogButtons buttons) {
  return (buttons == DialogButtons::ok ? MB_OK : MB_YESNO) | MB_SYSTEMMODAL | MB_SETFOREGROUND;
}

}  // namespace

void SystemMessageBox::show(const PostedReport& report, std::function<void(bool)> answered) {
  dismiss();
  finished_.store(false);
  thread_id_.store(0);
  thread_ = std::thread([this, caption = wide_text(report.caption), text = wide_text(report.text),
                         style = box_style(report.buttons), answered = std::move(answered)] {
    thread_id_.store(GetCurrentThreadId());
    // Without a caption the system names the box itself ("Error").
    const int button = MessageBoxW(nullptr, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
    answered(button == IDYES || button == IDOK);
    finished_.store(true);
  });
}

void SystemMessageBox::dismiss() {
  if (!thread_.joinable()) return;
  // A quit message ends the box's modal loop. The thread has no message queue before the box
  // makes one, and a message posted before then is lost, so it is posted until the thread ends.
  while (!finished_.load()) {
    if (const DWORD id = thread_id_.load()) PostThreadMessageW(id, WM_QUIT, 0, 0);
    Sleep(10);
  }
  thread_.join();
}
