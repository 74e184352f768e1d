#include "runtime/error_codes.h"

const char* error_message(int code) {
  switch (code) {
    case error_illegal_function_call: return "Illegal function call";
    case error_overflow: return "Overflow";
    case error_subscript_out_of_range: return "Subscript out of range";
    case error_bad_file_number: return "Bad file name or number";
    case error_file_not_found: return "File not found";
    case error_bad_file_mode: return "Bad file mode";
    case error_file_already_open: return "File already open";
    case error_input_past_end: return "Input past end of file";
    case error_bad_file_name: return "Bad file name";
    case error_device_unavailable: return "Device unavailable";
    case error_permission_denied: return "Permission denied";
    case error_path_file_access: return "Path/File access error";
    case error_path_not_found: return "Path not found";
    default: return "Unprintable error";
  }
}
