#include "runtime/files/file_failure.h"

#include <cerrno>
#include <iterator>

#include "runtime/error_codes.h"

namespace {

struct FailureCodes {
  FileFailure failure;
  int open, write, remove;
};

// A write that fails for any cause but refused access is the file access error; a delete is
// refused as a file already open when access, sharing, a lock or write protection refuse it.
constexpr FailureCodes failure_codes[] = {
    {FileFailure::file_missing, error_file_not_found, error_path_file_access, error_file_not_found},
    {FileFailure::folder_missing, error_path_not_found, error_path_file_access, error_file_not_found},
    {FileFailure::access_refused, error_permission_denied, error_permission_denied, error_file_already_open},
    {FileFailure::in_use, error_permission_denied, error_permission_denied, error_file_already_open},
    {FileFailure::device_unavailable, error_device_unavailable, error_path_file_access, error_file_not_found},
    {FileFailure::bad_name, error_bad_file_name, error_path_file_access, error_file_not_found},
    {FileFailure::other, error_file_not_found, error_path_file_access, error_file_not_found},
};

const FailureCodes& codes_of(FileFailure failure) {
  for (const FailureCodes& codes : failure_codes)
    if (codes.failure == failure) return codes;
  return failure_codes[std::size(failure_codes) - 1];
}

}  // namespace

int open_failure_code(FileFailure failure) { return codes_of(failure).open; }
int write_failure_code(FileFailure failure) { return codes_of(failure).write; }
int delete_failure_code(FileFailure failure) { return codes_of(failure).remove; }

FileFailure file_failure_of_errno(int error_number) {
  switch (error_number) {
    case 0: return FileFailure::none;
    case ENOENT: return FileFailure::file_missing;
    case ENOTDIR: return FileFailure::folder_missing;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EBUSY:
    case ETXTBSY: return FileFailure::access_refused;
    case ENODEV:
    case ENXIO: return FileFailure::device_unavailable;
    case ENAMETOOLONG:
    case EINVAL: return FileFailure::bad_name;
    default: return FileFailure::other;
  }
}
