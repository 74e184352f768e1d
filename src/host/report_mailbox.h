#pragma once
// The error report between the logic and the window: the logic posts its report and waits for
// the answer, which the window gives from its dialog. Once the window is gone every report is
// answered No, so the logic always comes to an end.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "host/error_dialog.h"

struct PostedReport {
  std::string caption, text;
  DialogButtons buttons = DialogButtons::yes_no;
};

class ReportMailbox {
 public:
  // The window is told through question_posted, called on the logic's side once a report waits.
  explicit ReportMailbox(std::function<void()> question_posted = {}) : question_posted_(std::move(question_posted)) {}

  // The logic's side: true means Yes (or OK).
  bool ask(const std::string& caption, const std::string& text, DialogButtons buttons = DialogButtons::yes_no);
  // The window's side: the report waiting to be shown, handed out once.
  std::optional<PostedReport> take_question();
  // A report was handed out and waits for its answer.
  bool answer_awaited();
  void answer(bool yes);
  // The window closed: the waiting report and every later one are answered No.
  void close();

 private:
  std::function<void()> question_posted_;
  std::mutex mutex_;
  std::condition_variable answered_;
  std::optional<PostedReport> question_;
  bool waiting_ = false, handed_out_ = false, closed_ = false;
  std::optional<bool> answer_;
};
