#pragma once
// The cause behind a Windows error (GetLastError's value) met by a file operation.
#include "runtime/files/file_failure.h"

FileFailure file_failure_of_system_error(unsigned long error);
// The cause of the last failed Windows call on this thread.
FileFailure last_file_failure();
