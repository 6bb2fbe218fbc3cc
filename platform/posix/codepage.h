// Windows-1252, the 8-bit code page of Portuguese Windows installations, which the Linux build
// uses wherever the Windows build uses the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace posix {

inline constexpr char kReplacement = '?';

// Characters the code page lacks, and broken UTF-8, become '?'.
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view bytes);

// A text from the host's command line: UTF-8 as the locale has it, or, when the bytes are no
// valid UTF-8, the desk's 8-bit code page that a Windows-bred host writes, so that no
// character is lost to a replacement mark.
std::string hostText(std::string_view bytes);

}  // namespace posix
