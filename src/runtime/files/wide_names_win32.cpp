#include "runtime/files/wide_names_win32.h"

#include <windows.h>

namespace {

constexpr std::size_t longest_part = 255;  // UTF-16 units, on NTFS, FAT and exFAT alike

bool parts_fit(const std::wstring& name) {
  std::size_t part = 0;
  for (const wchar_t unit : name) {
    part = unit == L'\\' || unit == L'/' ? 0 : part + 1;
    if (part > longest_part) return false;
  }
  return true;
}

}  // namespace

std::optional<std::wstring> wide_name(const std::string& name) {
  if (name.empty()) return std::wstring();
  const int bytes = static_cast<int>(name.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), bytes, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), bytes, wide.data(), length);
  if (!parts_fit(wide)) return std::nullopt;
  return wide;
}

std::string utf8_name(const std::wstring& name) {
  if (name.empty()) return std::string();
  const int units = static_cast<int>(name.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, name.data(), units, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, name.data(), units, bytes.data(), length, nullptr, nullptr);
  return bytes;
}
