#include "runtime/files/file_failure_win32.h"

#include <windows.h>

FileFailure file_failure_of_system_error(unsigned long error) {
  switch (error) {
    case ERROR_SUCCESS: return FileFailure::none;
    case ERROR_FILE_NOT_FOUND: return FileFailure::file_missing;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY: return FileFailure::folder_missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileFailure::in_use;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_DELETE_PENDING: return FileFailure::access_refused;
    case ERROR_NOT_READY:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_NO_MEDIA_IN_DRIVE: return FileFailure::device_unavailable;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_PARAMETER: return FileFailure::bad_name;
    default: return FileFailure::other;
  }
}

FileFailure last_file_failure() { return file_failure_of_system_error(GetLastError()); }
