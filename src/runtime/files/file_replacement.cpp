#include "runtime/files/file_replacement.h"

#include "runtime/files/brief_retries.h"

namespace {

// Runs an opening step, tried again while another program holds the file for a moment.
template <typename Opening>
std::FILE* opened_with_patience(Opening opening, FileFailure& failure) {
  std::FILE* stream = nullptr;
  failure = retried_briefly(
      [&] {
        FileFailure cause = FileFailure::none;
        stream = opening(cause);
        return cause;
      },
      [](FileFailure cause) { return cause == FileFailure::in_use; });
  return stream;
}

}  // namespace

std::FILE* begin_save(const std::string& name, FileReplacement& replacement, bool unnamed_allowed, FileFailure& failure) {
  if (write_protected(name)) {
    failure = FileFailure::access_refused;
    return nullptr;
  }
  std::FILE* stream = opened_with_patience(
      [&](FileFailure& cause) { return begin_new_version(name, replacement, unnamed_allowed, cause); }, failure);
  if (stream != nullptr) return stream;
  return opened_with_patience([&](FileFailure& cause) { return begin_in_place(name, replacement, cause); }, failure);
}
