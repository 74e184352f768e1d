#pragma once
// Why a file operation failed, in the terms of the program's error numbers. Each system's file
// code says which cause met it; one table turns the cause into the number that the open, a
// write or a delete reports.

enum class FileFailure {
  none,
  file_missing,        // the folder is there, the file is not
  folder_missing,      // a folder on the way is missing, or is no folder
  access_refused,      // permissions, write protection; a folder in the file's place
  in_use,              // another program's sharing or lock refuses it, which may pass in a moment
  device_unavailable,  // the device behind the name is not there, or not ready
  bad_name,            // a name the system cannot take
  other,
};

// The error numbers that the open, a write (the close that puts a new version in place
// included) and a delete report for the cause.
int open_failure_code(FileFailure failure);
int write_failure_code(FileFailure failure);
int delete_failure_code(FileFailure failure);

// The cause behind an errno value of the C library.
FileFailure file_failure_of_errno(int error_number);
