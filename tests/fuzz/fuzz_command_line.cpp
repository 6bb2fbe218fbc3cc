// The command-line splitter in both variants: no argument ever holds a double quote, and on a
// line without lead bytes the 8-bit and the UTF-16 variants agree.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  auto noLead = [](unsigned char) { return false; };
  auto lead = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };

  const auto narrow = core::splitCommandLine(line, noLead);
  const auto wide = core::splitCommandLine(std::u16string(line.begin(), line.end()));
  if (narrow.size() != wide.size()) std::abort();
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    if (narrow[i].find('"') != std::string::npos) std::abort();
    if (std::u16string(narrow[i].begin(), narrow[i].end()) != wide[i]) std::abort();
  }
  // With lead bytes a quote can only survive as the second byte of a character.
  for (const auto& arg : core::splitCommandLine(line, lead))
    for (std::size_t i = 0; i < arg.size(); ++i)
      if (arg[i] == '"' && (i == 0 || !lead(static_cast<unsigned char>(arg[i - 1])))) std::abort();
  return 0;
}
