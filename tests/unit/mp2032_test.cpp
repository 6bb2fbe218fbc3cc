// Our Mp2032 stand-in on its own: its answers, the bytes it writes, its journal and scenarios.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/mp2032_fixture.h"

namespace {

using testing_support::readFile;

using Mp2032 = StandInTest;

TEST_F(Mp2032, AcceptsModelOneOnly) {
  EXPECT_EQ(ConfiguraModeloImpressora(1), 1);
  for (std::int32_t code : {0, 2, -1, -2, 1000})
    EXPECT_EQ(ConfiguraModeloImpressora(code), -2) << code;
}

TEST_F(Mp2032, CannotSensePaperAndSaysSoNeutrally) {
  EXPECT_EQ(DocumentInserted(), 0);
  EXPECT_EQ(FechaPorta(), 1);  // closing with nothing open is no failure
}

TEST_F(Mp2032, WritesEachAuthenticationAsOneLineToTheOpenPort) {
  const std::string first = dir / "first.prn";
  const std::string second = dir / "second.prn";
  testing_support::writeFile(first, "old contents");

  ASSERT_EQ(IniciaPorta(first.c_str()), 1);
  EXPECT_EQ(readFile(first), "");  // opened afresh, as a port takes a new job
  EXPECT_EQ(AutenticaDoc("Certid\xE3o n\xBA 1", 10000), 1);
  EXPECT_EQ(AutenticaDoc("", 10000), 1);
  // Opening another port closes the first: the library holds one.
  ASSERT_EQ(IniciaPorta(second.c_str()), 1);
  EXPECT_EQ(AutenticaDoc("B", 10000), 1);
  EXPECT_EQ(FechaPorta(), 1);
  EXPECT_EQ(AutenticaDoc("after close", 10000), 0);

  EXPECT_EQ(readFile(first), "Certid\xE3o n\xBA 1\r\n\r\n");
  EXPECT_EQ(readFile(second), "B\r\n");
}

TEST_F(Mp2032, UsbIsAFileOfTheCurrentFolder) {
  ASSERT_EQ(IniciaPorta("USB"), 1);
  EXPECT_EQ(AutenticaDoc("x", 1), 1);
  EXPECT_EQ(readFile(dir / "USB"), "x\r\n");
}

TEST_F(Mp2032, PortThatCannotBeOpenedFailsAndLeavesNothingToWriteTo) {
  EXPECT_EQ(IniciaPorta((dir / "no-such-folder/port").c_str()), 0);
  EXPECT_EQ(AutenticaDoc("x", 10000), 0);
  EXPECT_EQ(IniciaPorta(nullptr), 0);
  EXPECT_EQ(AutenticaDoc(nullptr, 10000), 0);
}

TEST_F(Mp2032, JournalHasOneLinePerCallWithArgumentsAndResult) {
  IniciaPorta("USB");
  AutenticaDoc("a \"q\" b\\c\x01\xE9", 10000);
  IniciaPorta(nullptr);
  ConfiguraModeloImpressora(7);
  DocumentInserted();
  FechaPorta();
  EXPECT_EQ(journal(), (std::vector<std::string>{
                           "IniciaPorta(\"USB\") -> 1",
                           "AutenticaDoc(\"a \\\"q\\\" b\\\\c\\x01\\xE9\", 10000) -> 1",
                           "IniciaPorta(NULL) -> 0",
                           "ConfiguraModeloImpressora(7) -> -2",
                           "DocumentInserted() -> 0",
                           "FechaPorta() -> 1",
                       }));
}

TEST_F(Mp2032, ScenarioForcesResultsInSequenceTheLastOneHolding) {
  scenario(
      "# forced answers\n"
      "IniciaPorta = 0, real\r\n"
      "DocumentInserted=-2\n"
      "AutenticaDoc=-1,real,5\n");
  EXPECT_EQ(IniciaPorta("USB"), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "USB"));  // a forced answer does no work
  EXPECT_EQ(IniciaPorta("USB"), 1);
  EXPECT_EQ(IniciaPorta("USB"), 1);
  EXPECT_EQ(DocumentInserted(), -2);
  EXPECT_EQ(DocumentInserted(), -2);
  EXPECT_EQ(AutenticaDoc("one", 10000), -1);
  EXPECT_EQ(AutenticaDoc("two", 10000), 1);
  EXPECT_EQ(AutenticaDoc("three", 10000), 5);
  EXPECT_EQ(AutenticaDoc("four", 10000), 5);
  EXPECT_EQ(readFile(dir / "USB"), "two\r\n");
  EXPECT_EQ(ConfiguraModeloImpressora(1), 1);                 // not named: the real answer
  EXPECT_EQ(journal().front(), "IniciaPorta(\"USB\") -> 0");  // the journal shows what was answered
}

TEST_F(Mp2032, ScenarioIsReadAtEveryCall) {
  scenario("FechaPorta=0\n");
  EXPECT_EQ(FechaPorta(), 0);
  scenario("");
  EXPECT_EQ(FechaPorta(), 1);
}

TEST_F(Mp2032, ScenarioLineThatMakesNoSenseIsReportedAndIgnored) {
  scenario(
      "FechaPorta 0\n"
      "Fecha=0\n"
      "DocumentInserted=-2,soon\n"
      "ConfiguraModeloImpressora=99999999999\n"
      "IniciaPorta=-5\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(FechaPorta(), 1);
  EXPECT_EQ(DocumentInserted(), 0);
  EXPECT_EQ(ConfiguraModeloImpressora(1), 1);
  EXPECT_EQ(IniciaPorta("USB"), -5);  // the good line still counts
  const std::string err = ::testing::internal::GetCapturedStderr();
  for (const char* line : {"line 1:", "line 2:", "line 3:", "line 4:"})
    EXPECT_NE(err.find(line), std::string::npos) << line << " in " << err;
  EXPECT_EQ(err.find("line 5:"), std::string::npos);
  EXPECT_EQ(err.find("line 1:"), err.rfind("line 1:")) << "reported once, not at every call";
}

TEST_F(Mp2032, MissingScenarioFileForcesNothingAndSaysSo) {
  ::setenv("MP2032_SCENARIO", (dir / "absent.txt").c_str(), 1);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(DocumentInserted(), 0);
  EXPECT_EQ(FechaPorta(), 1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("absent.txt"), std::string::npos);
  EXPECT_EQ(err.find("absent.txt"), err.rfind("absent.txt"));
}

}  // namespace
