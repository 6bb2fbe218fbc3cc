#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_line.h"

namespace {

using Args = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Args expected;  // the program's name first
};

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// The same rules hold for both variants on ASCII lines.
const SplitCase kSplitCases[] = {
    {"prog OK \"PREFEITURA X PROTOC:1 12/03/2015 10:45\"",
     {"prog", "OK", "PREFEITURA X PROTOC:1 12/03/2015 10:45"}},
    {"\"C:\\Program Files\\q.exe\" ok", {"C:\\Program Files\\q.exe", "ok"}},
    {"prog OK A B C", {"prog", "OK", "A", "B", "C"}},
    {"prog OK \"A  B\tC\"", {"prog", "OK", "A  B\tC"}},
    {"prog OK \"\" third", {"prog", "OK", "third"}},
    {"prog OK \"\"", {"prog", "OK"}},
    {"prog \"O K\"", {"prog", "O K"}},
    {"prog \"OK \"", {"prog", "OK "}},
    {"prog O\"K\"", {"prog", "OK"}},
    {"prog x\"\"y", {"prog", "xy"}},
    {"prog a\\\"b c\"", {"prog", "a\\b c"}},
    {"prog \"unterminated text", {"prog", "unterminated text"}},
    {"\x01\x02prog\t\x1fOK\r\ntext", {"prog", "OK", "text"}},
    {"prog \"\"\"\"OK", {"prog", "OK"}},
    {"", {}},
    {"   ", {}},
};

TEST(CommandLine, SplitsWideLines) {
  for (const auto& c : kSplitCases) {
    std::vector<std::u16string> expected;
    for (const auto& a : c.expected) expected.push_back(widen(a));
    EXPECT_EQ(core::splitCommandLine(widen(c.line)), expected) << c.line;
  }
}

TEST(CommandLine, SplitsEightBitLines) {
  auto noLeadBytes = [](unsigned char) { return false; };
  for (const auto& c : kSplitCases)
    EXPECT_EQ(core::splitCommandLine(std::string_view(c.line), noLeadBytes), c.expected) << c.line;
}

TEST(CommandLine, WideCharactersAboveAsciiAreOrdinary) {
  EXPECT_EQ(core::splitCommandLine(u"p OK \"S\u00C3O\u00A0PAULO\""),
            (std::vector<std::u16string>{u"p", u"OK", u"S\u00C3O\u00A0PAULO"}));
}

TEST(CommandLine, SecondByteOfADoubleByteCharacterIsNeverABlankOrQuote) {
  auto leadBytes = [](unsigned char b) { return b >= 0x81 && b <= 0x9F; };
  auto none = [](unsigned char) { return false; };
  // "\x81\"" is one character: the quote after the lead byte opens nothing.
  const std::string quoted = "p \"A\x81\" B\"";
  EXPECT_EQ(core::splitCommandLine(quoted, leadBytes), (Args{"p", "A\x81\" B"}));
  EXPECT_EQ(core::splitCommandLine(quoted, none), (Args{"p", "A\x81", "B"}));
  // Nor is a blank after a lead byte a separator.
  EXPECT_EQ(core::splitCommandLine(std::string_view("p \x81 X"), leadBytes), (Args{"p", "\x81 X"}));
  // A lead byte at the very end takes what there is.
  EXPECT_EQ(core::splitCommandLine(std::string_view("p \x81"), leadBytes), (Args{"p", "\x81"}));
}

TEST(CommandLine, ArgumentBeyondTheLastIsEmpty) {
  const Args args{"prog", "OK"};
  EXPECT_EQ(core::argument(args, 1), "OK");
  EXPECT_EQ(core::argument(args, 2), "");
}

TEST(CommandLine, GateOpensOnlyForOkInAnyCase) {
  const struct {
    const char* word;
    bool opens;
  } cases[] = {{"OK", true},   {"ok", true},   {"Ok", true},  {"oK", true},
               {"OKAY", false}, {"KO", false}, {"O K", false}, {"OK ", false},
               {" OK", false}, {"", false},    {"0K", false}, {"ÓK", false}};
  for (const auto& c : cases) EXPECT_EQ(core::gateOpens(c.word), c.opens) << c.word;
}

}  // namespace
