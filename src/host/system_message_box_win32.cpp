#include "host/system_message_box_win32.h"

#include <windows.h>

#include <string>
#include <system_error>

#include "host/wide_text_win32.h"

namespace {

// System-modal, which also keeps the box above every other window, a full-screen one included.
UINT box_style(DialogButtons buttons) {
  return (buttons == DialogButtons::ok ? MB_OK : MB_YESNO) | MB_SYSTEMMODAL | MB_SETFOREGROUND;
}

// Shows the box until it is closed; true for Yes (or OK). Without a caption the system names
// the box itself ("Error").
bool run_box(const std::wstring& caption, const std::wstring& text, UINT style) {
  const int button = MessageBoxW(nullptr, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
  return button == IDYES || button == IDOK;
}

}  // namespace

void SystemMessageBox::show(const PostedReport& report, std::function<void(bool)> answered) {
  dismiss();
  std::wstring caption = wide_text(report.caption), text = wide_text(report.text);
  const UINT style = box_style(report.buttons);
  finished_.store(false);
  thread_id_.store(0);
  try {
    thread_ = std::thread([this, caption, text, style, answered] {
      thread_id_.store(GetCurrentThreadId());
      answered(run_box(caption, text, style));
      finished_.store(true);
    });
  } catch (const std::system_error&) {
    // No thread to be had (memory ran out): the box shows on this thread, which waits for it.
    finished_.store(true);
    answered(run_box(caption, text, style));
  }
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
