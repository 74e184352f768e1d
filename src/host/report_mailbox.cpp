#include "host/report_mailbox.h"

bool ReportMailbox::ask(const std::string& caption, const std::string& text, DialogButtons buttons) {
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  question_ = PostedReport{caption, text, buttons};
  waiting_ = true;
  handed_out_ = false;
  answer_.reset();
  if (question_posted_) question_posted_();
  answered_.wait(lock, [this] { return answer_.has_value() || closed_; });
  const bool yes = answer_.value_or(false) && !closed_;
  waiting_ = false;
  question_.reset();
  answer_.reset();
  return yes;
}

std::optional<PostedReport> ReportMailbox::take_question() {
  std::lock_guard lock(mutex_);
  if (!waiting_ || handed_out_) return std::nullopt;
  handed_out_ = true;
  return question_;
}

bool ReportMailbox::answer_awaited() {
  std::lock_guard lock(mutex_);
  return waiting_ && handed_out_ && !answer_.has_value() && !closed_;
}

void ReportMailbox::answer(bool yes) {
  {
    std::lock_guard lock(mutex_);
    if (!waiting_ || !handed_out_) return;
    answer_ = yes;
  }
  answered_.notify_all();
}

void ReportMailbox::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  answered_.notify_all();
}
