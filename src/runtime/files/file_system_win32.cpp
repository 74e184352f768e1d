#include "runtime/files/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "runtime/files/file_failure_win32.h"
#include "runtime/files/wide_names_win32.h"

namespace {

// Other programs may read, write, rename and delete a file while it is read here, as on POSIX
// systems: a read never keeps another program's save from putting its file in place.
constexpr DWORD share_everything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::optional<FileIdentity> identity_of_handle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(handle, &information)) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber,
                      (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

// The pattern that lists every entry of a folder: "C:" lists the current folder of drive C.
std::wstring every_entry_of(const std::wstring& folder) {
  const bool ends_in_root = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/' || folder.back() == L':');
  return folder + (ends_in_root ? L"*" : L"\\*");
}

}  // namespace

bool is_folder(const std::string& name) {
  const std::optional<std::wstring> wide = wide_name(name);
  if (!wide) return false;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::FILE* open_for_reading(const std::string& name, FileFailure& failure) {
  const std::optional<std::wstring> wide = wide_name(name);
  if (!wide) {
    failure = FileFailure::bad_name;
    return nullptr;
  }
  const HANDLE handle =
      CreateFileW(wide->c_str(), GENERIC_READ, share_everything, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    failure = with_missing_folder(last_file_failure(), name);
    return nullptr;
  }
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  std::FILE* stream = descriptor < 0 ? nullptr : _fdopen(descriptor, "rb");
  if (stream == nullptr) {
    if (descriptor < 0) CloseHandle(handle);
    else _close(descriptor);
    failure = FileFailure::other;
    return nullptr;
  }
  failure = FileFailure::none;
  return stream;
}

std::vector<FolderEntry> folder_entries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const std::optional<std::wstring> wide = wide_name(folder);
  if (!wide) return entries;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileExW(every_entry_of(*wide).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                         nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring entry = found.cFileName;
    if (entry == L"." || entry == L"..") continue;
    entries.push_back({utf8_name(entry), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

FileFailure delete_file(const std::string& name) {
  const std::optional<std::wstring> wide = wide_name(name);
  if (!wide) return FileFailure::bad_name;
  return DeleteFileW(wide->c_str()) ? FileFailure::none : last_file_failure();
}

std::optional<FileIdentity> identity_of_file(const std::string& name) {
  const std::optional<std::wstring> wide = wide_name(name);
  if (!wide) return std::nullopt;
  // No access asked: the identity is read even of a file that another program holds.
  const HANDLE handle =
      CreateFileW(wide->c_str(), 0, share_everything, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::optional<FileIdentity> identity = identity_of_handle(handle);
  CloseHandle(handle);
  return identity;
}

std::optional<FileIdentity> identity_of_stream(std::FILE* stream) {
  const intptr_t handle = _get_osfhandle(_fileno(stream));
  if (handle == -1) return std::nullopt;
  return identity_of_handle(reinterpret_cast<HANDLE>(handle));
}
