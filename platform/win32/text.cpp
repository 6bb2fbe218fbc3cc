#include "platform/win32/text.h"

#include <windows.h>

namespace win32 {

std::wstring widen(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, result.data(), n);
  return result;
}

// No flags and no default character: in an 8-bit code page, what it lacks becomes the system's
// own replacement, as every 8-bit program on the desk gets it.
std::string narrow(std::wstring_view utf16, unsigned codePage) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  int n = WideCharToMultiByte(codePage, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, utf16.data(), size, result.data(), n, nullptr, nullptr);
  return result;
}

}  // namespace win32
