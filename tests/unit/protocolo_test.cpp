#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/protocolo.h"

namespace {

struct ParseCase {
  std::string text;
  core::ProtocolFields expected;
  int errorIndex;  // -1: no error
};

const ParseCase kCases[] = {
    {"PREFEITURA X PROTOC:001234/2015 12/03/2015 10:45",
     {"PREFEITURA X ", "001234/2015", "12/03/2015", "10:45"}, -1},
    {"ORGAOPROTOC:55 12/03/2015 10:45", {"ORGAO", "55", "12/03/2015", "10:45"}, -1},
    {"PROTOC:55 12/03/2015 10:45", {"", "55", "12/03/2015", "10:45"}, -1},
    {"55 12/03/2015 10:45", {"", "55", "12/03/2015", "10:45"}, -1},
    {"X PROTOC:55 12/03/2015 10:45 EXTRA", {"X ", "55", "12/03/2015", "10:45"}, -1},
    {"A&B PROTOC:55 12/03/2015 10:45", {"A", "B", "&55", "12/03/2015"}, -1},
    {"X PROTOC:55 PROTOC:66 10:45", {"X ", "55", "&66", "10:45"}, -1},
    {"X protoc:55 12/03/2015 10:45", {"", "X", "protoc:55", "12/03/2015"}, -1},
    {"X PROTOC:55 12/03/2015", {"X ", "55", "12/03/2015", ""}, 2},
    {"PREFEITURA X", {"", "PREFEITURA", "X", ""}, 2},
    {"X PROTOC:55", {"X ", "55", "", ""}, 1},
    {"X PROTOC:", {"X ", "", "", ""}, 0},
    {"", {"", "", "", ""}, 0},
    // Further cases.
    {"X PROTOC:55\t12/03/2015\t10:45", {"X ", "55", "12/03/2015", "10:45"}, -1},
    {"X PROTOC:55   12/03/2015 10:45", {"X ", "55", "12/03/2015", "10:45"}, -1},
    {"A  B PROTOC:55 12/03/2015 10:45", {"A  B ", "55", "12/03/2015", "10:45"}, -1},
    {"PROTOC:55\u00A066 12/03/2015 10:45", {"", "55\u00A066", "12/03/2015", "10:45"}, -1},
    {"PROTOC:\"55  A\" 12/03/2015 10:45", {"", "55 A", "12/03/2015", "10:45"}, -1},
    {"PROTOC:\"55     A\" 1 2", {"", "55   A", "1", "2"}, -1},  // five blanks become three
    {"PROTOC:\"5\"\"5\" 12/03/2015 10:45", {"", "5\"5", "12/03/2015", "10:45"}, -1},
    {"PROTOC:\"55\"12/03/2015 10:45", {"", "55", "12/03/2015", "10:45"}, -1},
    {"PROTOC:55 \"\" 10:45", {"", "55", "", "10:45"}, -1},
    {"PROTOC:\"55 12/03/2015 10:45", {"", "55 12/03/2015 10:4", "", ""}, 1},
    {"PROTOC:\"55 12/03/2015 10:4\u00C3", {"", "55 12/03/2015 10:4", "", ""}, 1},
    {"PROTOC:5\"5 1 2", {"", "5\"5", "1", "2"}, -1},
    {"SÃO PAULO PROTOC:7 1 2", {"SÃO PAULO ", "7", "1", "2"}, -1},
};

TEST(Protocol, ParsesTheHostText) {
  for (const auto& c : kCases) {
    core::ProtocolFields fields{"old", "old", "old", "old"};
    std::string error;
    try {
      core::parseProtocol(c.text, fields);
    } catch (const core::EListError& e) {
      error = e.what();
    }
    EXPECT_EQ(fields.strNomeEntidade, c.expected.strNomeEntidade) << c.text;
    EXPECT_EQ(fields.strProtocolo, c.expected.strProtocolo) << c.text;
    EXPECT_EQ(fields.strDataProtocolo, c.expected.strDataProtocolo) << c.text;
    EXPECT_EQ(fields.strHoraProtocolo, c.expected.strHoraProtocolo) << c.text;
    EXPECT_EQ(error, c.errorIndex < 0 ? "" : "List index out of bounds (" + std::to_string(c.errorIndex) + ")")
        << c.text;
  }
}

TEST(Protocol, QuebraKeepsOrderDuplicatesAndEmptyTokens) {
  auto list = core::Quebra("b a b \"\" \x01 a", ' ');
  ASSERT_EQ(list.count(), 5u);
  EXPECT_EQ(list[0], "b");
  EXPECT_EQ(list[1], "a");
  EXPECT_EQ(list[2], "b");
  EXPECT_EQ(list[3], "");
  EXPECT_EQ(list[4], "a");
  EXPECT_THROW(list[5], core::EListError);
}

}  // namespace
