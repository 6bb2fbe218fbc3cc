// The command line: how Windows programs of this kind split it into arguments, and the gate
// word that lets the window open.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Splits a UTF-16 command line. Element 0 is the program's own name as the line writes it,
// then argument 1, 2, ... Blanks and control characters (1 to 32) separate arguments, double
// quotes open and close stretches in which they do not, and there is no escape character.
std::vector<std::u16string> splitCommandLine(std::u16string_view line);

// The same rules on an 8-bit line: a double-byte character's second byte is taken whole with
// its lead byte, never as a blank or a quote.
std::vector<std::string> splitCommandLine(std::string_view line,
                                          const std::function<bool(unsigned char)>& isLeadByte);

// Argument `index` of a split line, or the empty text beyond the last one.
template <typename Text>
Text argument(const std::vector<Text>& args, std::size_t index) {
  return index < args.size() ? args[index] : Text{};
}

// The gate: letters a to z raised, then compared with "OK" exactly.
bool gateOpens(std::string_view firstArgument);

}  // namespace core
