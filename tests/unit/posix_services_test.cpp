// The Linux services behind the channel and the settings: port names, the code page, the
// executable's own folder.
#include <gtest/gtest.h>

#include "platform/posix/codepage.h"
#include "platform/posix/system.h"

namespace {

TEST(PosixServices, PortNamesMatchWithoutRegardToCase) {
  const struct {
    const char* name;
    const char* device;  // empty: no port, an ordinary path
  } cases[] = {{"LPT1", "/dev/lp0"},  {"lpt3", "/dev/lp2"},   {"COM1", "/dev/ttyS0"},
               {"Com6", "/dev/ttyS5"}, {"LPT4", ""},         {"COM7", ""},
               {"USB", ""},            {"COM1:", ""},        {"", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(posix::portDevice(c.name, "/dev/").value_or(""), c.device) << c.name;
}

TEST(PosixServices, Windows1252BothWays) {
  const struct {
    const char* utf8;
    const char* bytes;
  } cases[] = {{"SÃO PAULO", "S\xC3O PAULO"},
               {"Nº€ç", "N\xBA\x80\xE7"},
               {"\x01\x1b\x7f", "\x01\x1b\x7f"},
               {"ŁÓDŹ→", "?\xD3" "D??"},     // what the code page lacks
               {"a\xC3(b", "a?(b"},          // broken UTF-8
               {"😀", "?"}};
  for (const auto& c : cases) EXPECT_EQ(posix::utf8ToCp1252(c.utf8), c.bytes) << c.utf8;
  EXPECT_EQ(posix::cp1252ToUtf8("S\xC3O \x80 \x81 \x9F"), "SÃO € \xC2\x81 Ÿ");
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(posix::utf8ToCp1252(posix::cp1252ToUtf8(byte)), byte) << b;
  }
}

TEST(PosixServices, TheHostsTextInUtf8OrInTheCodePage) {
  const struct {
    const char* bytes;
    const char* text;
  } cases[] = {{"SÃO PAULO PROTOC:1 2 3", "SÃO PAULO PROTOC:1 2 3"},  // UTF-8 stays
               {"S\xC3O PAULO", "SÃO PAULO"},                      // 1252: Ã alone
               {"CONCEI\xC7\xC3O \x80", "CONCEIÇÃO €"},
               {"\xC0\x80", "À€"},         // an overlong form is no UTF-8
               {"\xED\xA0\x80", "í\xC2\xA0€"},  // nor is a surrogate
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(posix::hostText(c.bytes), c.text) << c.bytes;
}

TEST(PosixServices, TheExecutablesOwnFolder) {
  posix::System system;
  const std::string path = system.executablePath();
  EXPECT_EQ(path.substr(path.rfind('/') + 1), "unit_tests");
  EXPECT_EQ(system.executableFolder(), path.substr(0, path.rfind('/') + 1));
  const auto version = system.fileVersion();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->ms, (3u << 16) | 21u);
  EXPECT_EQ(version->ls, (14u << 16) | 31u);
}

}  // namespace
