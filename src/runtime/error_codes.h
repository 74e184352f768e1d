#pragma once
// The runtime's error numbers and the messages the error report shows for them.

enum ErrorCode : int {
  error_illegal_function_call = 5,
  error_overflow = 6,
  error_subscript_out_of_range = 9,
  error_bad_file_number = 52,
  error_file_not_found = 53,
  error_bad_file_mode = 54,
  error_file_already_open = 55,
  error_input_past_end = 62,
  error_bad_file_name = 64,
  error_device_unavailable = 68,
  error_permission_denied = 70,
  error_path_file_access = 75,
  error_path_not_found = 76,
};

// The message the error report shows for a code ("Unprintable error" for unknown codes).
const char* error_message(int code);
