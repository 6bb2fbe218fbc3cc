#include <gtest/gtest.h>

#include <climits>

#include "core/errors.h"
#include "core/settings.h"

namespace {

using core::Program;

TEST(StoredIndex, ConvertsEveryAcceptedForm) {
  const struct {
    const char* text;
    std::int32_t value;
  } cases[] = {
      {"0", 0},           {"2", 2},           {"  2", 2},          {"+2", 2},
      {"-1", -1},         {"$2", 2},          {"x2", 2},           {"X2", 2},
      {"0x2", 2},         {"0X2", 2},         {"$a", 10},          {"$FF", 255},
      {"0x7fffffff", INT_MAX}, {"$FFFFFFFF", -1}, {"$80000000", INT_MIN}, {"-$1", -1},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(core::storedIndex(c.text, Program::Direct), c.value) << c.text;
}

TEST(StoredIndex, RejectsWithEachProgramsMessage) {
  const char* bad[] = {"abc", "2a", "2 ", "", " ", "+", "-", "$", "0x", "x", "+-2", "2147483648",
                       "-2147483649", "$100000000", "1.0", "\t2", "0b1", "$G"};
  for (const char* text : bad) {
    try {
      core::storedIndex(text, Program::Direct);
      ADD_FAILURE() << "accepted " << text;
    } catch (const core::EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "''" + std::string(text) + "'' is not a valid integer value");
    }
    try {
      core::storedIndex(text, Program::Vendor);
      ADD_FAILURE() << "accepted " << text;
    } catch (const core::EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

}  // namespace
