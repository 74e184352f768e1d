#include "runtime/files/files.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/files/file_failure.h"
#include "runtime/files/file_paths.h"
#include "runtime/files/file_system.h"
#include "runtime/pending_failure.h"
#include "runtime/runtime.h"

namespace {

constexpr int end_of_file_byte = 26;

OpenedFile* file_by_number(int number) {
  if (number < 1 || number >= static_cast<int>(runtime().files.files.size())) return nullptr;
  return &runtime().files.files[number];
}

// Puts a finished output file in place: flushed to disk, then put over the old file in one
// step, so the old file stays whole until the new one is. A file whose write failed was
// reported then, and its old version stays.
void commit(OpenedFile& file) {
  if (file.write_failed) return abandon_file(file);
  const FileFailure failure = finish_replacement(file.stream, file.replacement);
  file = OpenedFile{};
  if (failure != FileFailure::none) raise_error(write_failure_code(failure));
}

int next_byte(std::FILE* stream) {
  const int byte = std::getc(stream);
  if (byte == end_of_file_byte) {
    std::ungetc(byte, stream);  // byte 26 stays the end wherever it stands
    return EOF;
  }
  return byte;
}

void put_back(int byte, std::FILE* stream) {
  if (byte != EOF) std::ungetc(byte, stream);
}

// The separator after an item: a comma, a line end (CR LF, LF CR, CR, LF), or blanks with the
// comma or line end after them; other bytes before it are skipped.
void consume_separator(std::FILE* stream) {
  for (;;) {
    int byte = next_byte(stream);
    if (byte == EOF || byte == ',') return;
    if (byte == '\r' || byte == '\n') {
      const int pair = byte == '\r' ? '\n' : '\r';
      const int following = next_byte(stream);
      if (following != pair) put_back(following, stream);
      return;
    }
    if (byte == ' ') {
      while ((byte = next_byte(stream)) == ' ') {
      }
      if (byte == ',' || byte == EOF) return;
      if (byte == '\r' || byte == '\n') {
        put_back(byte, stream);
        continue;
      }
      put_back(byte, stream);  // it starts the next item
      return;
    }
  }
}

// An "&H" or "&O" integer; one beyond 64 bits is failure 6 and reads as 0.
double read_based_integer(std::FILE* stream, int base) {
  unsigned long long value = 0;
  bool overflow = false;
  for (int byte; (byte = next_byte(stream)) != EOF;) {
    int digit = 99;
    if (byte >= '0' && byte <= '9') digit = byte - '0';
    else if (byte >= 'a' && byte <= 'f') digit = byte - 'a' + 10;
    else if (byte >= 'A' && byte <= 'F') digit = byte - 'A' + 10;
    if (digit >= base) {
      put_back(byte, stream);
      break;
    }
    if (value > (~0ull - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) overflow = true;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  if (overflow) {
    raise_error(error_overflow);
    return 0;
  }
  return static_cast<double>(value);
}

bool unnamed_new_versions_allowed() {
  const Host* host = runtime().host;
  return host == nullptr || host->unnamed_new_versions();
}

// True when the path is a file that this program holds open (or writes the new version of).
bool held_open(const std::string& path) {
  const std::optional<FileIdentity> target = identity_of_file(path);
  if (!target) return false;
  for (const OpenedFile& file : runtime().files.files) {
    if (file.stream == nullptr) continue;
    if (identity_of_stream(file.stream) == target || identity_of_file(file.name) == target) return true;
  }
  return false;
}

}  // namespace

void open_file(const std::string& name, int mode, int file_number) {
  if (failure_pending()) return;
  OpenedFile* file = file_by_number(file_number);
  if (file == nullptr) return raise_error(error_bad_file_number);
  if (file->stream != nullptr) return raise_error(error_file_already_open);
  if (name.empty()) return raise_error(error_bad_file_name);
  if (mode != file_mode_input && mode != file_mode_output) return raise_error(error_illegal_function_call);
  // A folder where the file should be refuses access, whether it is to be read or replaced.
  if (is_folder(name)) return raise_error(open_failure_code(FileFailure::access_refused));
  FileFailure failure = FileFailure::none;
  FileReplacement replacement;
  std::FILE* stream = mode == file_mode_input
                          ? open_for_reading(name, failure)
                          : begin_save(name, replacement, unnamed_new_versions_allowed(), failure);
  if (stream == nullptr) return raise_error(open_failure_code(failure));
  *file = OpenedFile{stream, mode, name, std::move(replacement), false};
}

void close_file(int file_number, bool number_given) {
  if (failure_pending()) return;
  auto close_one = [](OpenedFile& file) {
    if (file.stream == nullptr) return;
    if (file.mode == file_mode_output) commit(file);
    else abandon_file(file);
  };
  if (!number_given) {
    for (OpenedFile& file : runtime().files.files) close_one(file);
    return;
  }
  if (OpenedFile* file = file_by_number(file_number)) close_one(*file);
}

void file_print_text(int file_number, const std::string& text, bool add_blank, bool add_zone, bool add_line_end) {
  if (failure_pending()) return;
  OpenedFile* file = file_by_number(file_number);
  if (file == nullptr || file->stream == nullptr) return raise_error(error_bad_file_number);
  if (file->mode != file_mode_output) return raise_error(error_bad_file_mode);
  if (file->write_failed) return;  // the new file is lost already; the old one stays

  std::string line = text;
  if (add_blank) line += ' ';
  const auto column_after = [&] {
    const auto line_start = line.rfind('\n');
    return line_start == std::string::npos ? file->column + line.size() : line.size() - line_start - 1;
  };
  if (add_zone) line.append(14 - column_after() % 14, ' ');
  if (add_line_end) line += "\r\n";
  file->column = column_after();

  if (Host* host = runtime().host; host != nullptr && host->refuses_write()) {
    file->write_failed = true;
    return raise_error(error_path_file_access);
  }
  if (std::fwrite(line.data(), 1, line.size(), file->stream) != line.size()) {
    file->write_failed = true;
    raise_error(write_failure_code(file_failure_of_errno(errno)));
  }
}

double file_read_number(int file_number) {
  if (failure_pending()) return 0;
  OpenedFile* file = file_by_number(file_number);
  if (file == nullptr || file->stream == nullptr) {
    raise_error(error_bad_file_number);
    return 0;
  }
  if (file->mode != file_mode_input) {
    raise_error(error_bad_file_mode);
    return 0;
  }
  std::FILE* stream = file->stream;
  int byte;
  while ((byte = next_byte(stream)) == ' ') {
  }
  if (byte == EOF) {
    raise_error(error_input_past_end);
    return 0;
  }

  if (byte == '&') {
    const int kind = next_byte(stream);
    const int base = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
    if (base != 0) {
      const double value = read_based_integer(stream, base);
      consume_separator(stream);
      return value;
    }
    put_back(kind, stream);
    consume_separator(stream);
    return 0;
  }

  // Sign, digits, point and digits, exponent letter with its sign and digits, as far as they fit.
  std::string number;
  int significant = 0;
  auto take_digits = [&](bool count_significant) {
    while (byte >= '0' && byte <= '9') {
      if (count_significant && (significant > 0 || byte != '0')) {
        // Only the first 17 significant digits count; later ones read as zeros.
        number += ++significant > 17 ? '0' : static_cast<char>(byte);
      } else {
        number += static_cast<char>(byte);
      }
      byte = next_byte(stream);
    }
  };
  bool has_digits = false;
  if (byte == '+' || byte == '-') {
    number += static_cast<char>(byte);
    byte = next_byte(stream);
  }
  const std::size_t before_digits = number.size();
  take_digits(true);
  if (byte == '.') {
    number += '.';
    byte = next_byte(stream);
    take_digits(true);
  }
  has_digits = number.find_first_of("0123456789", before_digits) != std::string::npos;
  if (has_digits && (byte == 'E' || byte == 'e' || byte == 'D' || byte == 'd')) {
    std::string exponent = "e";
    byte = next_byte(stream);
    if (byte == '+' || byte == '-') {
      exponent += static_cast<char>(byte);
      byte = next_byte(stream);
    }
    const std::size_t before_exponent_digits = exponent.size();
    while (byte >= '0' && byte <= '9') {
      exponent += static_cast<char>(byte);
      byte = next_byte(stream);
    }
    if (exponent.size() > before_exponent_digits) number += exponent;
  }
  put_back(byte, stream);
  consume_separator(stream);
  if (!has_digits) return 0;

  const double value = std::strtod(number.c_str(), nullptr);
  if (!(std::fabs(value) <= 3.402823466e+38)) {
    raise_error(error_overflow);
    return 0;
  }
  return value;
}

void kill_files(const std::string& pattern) {
  if (failure_pending()) return;
  const std::string name_pattern = name_in_folder(pattern);
  std::vector<std::string> matches;
  for (const FolderEntry& entry : folder_entries(folder_of(pattern)))
    if (!entry.folder && name_matches(name_pattern, entry.name, system_name_case()))
      matches.push_back(folder_part(pattern) + entry.name);
  if (matches.empty()) return raise_error(error_file_not_found);
  for (const std::string& path : matches) {
    if (held_open(path)) return raise_error(error_file_already_open);
    const FileFailure failure = delete_file(path);
    if (failure != FileFailure::none) return raise_error(delete_failure_code(failure));
  }
}

void abandon_all_files() { runtime().files = FileTable{}; }
