#include "host/wide_text_win32.h"

#include <windows.h>

std::wstring wide_text(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(437, 0, text.data(), length, wide.data(), length)));
  return wide;
}
