// Prints every visible top-level window and, indented, each of its controls: class, style and
// text, one per line in UTF-8. The end-to-end tests read message boxes with it, which xdotool
// cannot look into.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(n > 0 ? static_cast<std::size_t>(n - 1) : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), n, nullptr, nullptr);
  return result;
}

void print(HWND hwnd, const char* indent) {
  wchar_t cls[256] = {};
  GetClassNameW(hwnd, cls, 256);
  wchar_t text[4096] = {};
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  const auto style = static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_STYLE));
  std::printf("%s%s\t%08lx\t%s\n", indent, utf8(cls).c_str(), style, utf8(text).c_str());
}

BOOL CALLBACK child(HWND hwnd, LPARAM) {
  if (IsWindowVisible(hwnd)) print(hwnd, "  ");
  return TRUE;
}

BOOL CALLBACK topLevel(HWND hwnd, LPARAM) {
  if (!IsWindowVisible(hwnd)) return TRUE;
  print(hwnd, "");
  EnumChildWindows(hwnd, child, 0);
  return TRUE;
}

}  // namespace

int main() {
  EnumWindows(topLevel, 0);
  std::fflush(stdout);
  return 0;
}
