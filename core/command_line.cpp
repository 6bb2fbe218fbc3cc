#include "core/command_line.h"

namespace core {
namespace {

template <typename Char>
bool isSeparator(Char c) {
  return c >= 1 && c <= 32;
}

// `width(i)` is the number of code units of the character at i: 2 for a lead byte with its
// second byte, 1 otherwise.
template <typename Text, typename Width>
std::vector<Text> split(std::basic_string_view<typename Text::value_type> line, Width width) {
  using Char = typename Text::value_type;
  const Char quote = '"';
  // The line ends at its terminating zero, as the system hands it over.
  if (auto nul = line.find(Char{0}); nul != line.npos) line = line.substr(0, nul);

  std::vector<Text> args;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (isSeparator(line[i]) ||
                               (line[i] == quote && i + 1 < line.size() && line[i + 1] == quote)))
      i += line[i] == quote ? 2 : 1;
    if (i >= line.size()) break;

    Text arg;
    bool quoted = false;
    while (i < line.size() && (quoted || !isSeparator(line[i]))) {
      if (line[i] == quote) {
        quoted = !quoted;
        ++i;
        continue;
      }
      std::size_t n = std::min(width(i), line.size() - i);
      arg.append(line.substr(i, n));
      i += n;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

}  // namespace

std::vector<std::u16string> splitCommandLine(std::u16string_view line) {
  return split<std::u16string>(line, [](std::size_t) { return std::size_t{1}; });
}

std::vector<std::string> splitCommandLine(std::string_view line,
                                          const std::function<bool(unsigned char)>& isLeadByte) {
  return split<std::string>(line, [&](std::size_t i) {
    return isLeadByte(static_cast<unsigned char>(line[i])) ? std::size_t{2} : std::size_t{1};
  });
}

bool gateOpens(std::string_view firstArgument) {
  std::string raised(firstArgument);
  for (char& c : raised)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return raised == "OK";
}

}  // namespace core
