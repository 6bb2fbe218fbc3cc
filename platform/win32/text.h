// UTF-8 inside the program, UTF-16 at every wide Windows call; the 8-bit code page where a
// printer or the ANSI services want bytes.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

// `codePage` names the encoding of the 8-bit side: UTF-8 unless said otherwise.
std::wstring widen(std::string_view bytes, unsigned codePage = 65001 /* CP_UTF8 */);
std::string narrow(std::wstring_view utf16, unsigned codePage = 65001 /* CP_UTF8 */);

}  // namespace win32
