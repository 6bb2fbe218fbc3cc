#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/profile.h"
#include "tests/support/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

class Profile : public ::testing::Test {
 protected:
  TempDir dir;
  std::string ini = dir / "Ravivavizuru.ini";
};

TEST_F(Profile, ReadsAsTheWindowsServiceDoes) {
  writeFile(ini,
            "; host comment\r\n"
            "[other]\r\nPORTA=9\r\n"
            "  [ quolt ]  \r\n"
            "porta = 3 \r\n"
            "PORTA=4\r\n"
            "COMPARTILHAMENTO=  \"\\\\PC\\TLP2844\"  \r\n"
            "EMPTY=\r\n"
            "QUOTED='a'\r\n"
            "HALF=\"a\r\n"
            "[QUOLT]\r\nMODELO=5\n"
            "[SIS]\nAUT_TRAVA=1");
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"QUOLT", "PORTA", "3"},  // names without regard to case, first match wins, blanks dropped
      {"other", "porta", "9"},
      {"QUOLT", "COMPARTILHAMENTO", "\\\\PC\\TLP2844"},  // one pair of enclosing quotes dropped
      {"QUOLT", "EMPTY", ""},
      {"QUOLT", "QUOTED", "a"},
      {"QUOLT", "HALF", "\"a"},
      {"QUOLT", "MODELO", ""},  // only the first section of a name is read
      {"QUOLT", "MISSING", ""},
      {"NOSECTION", "PORTA", ""},
      {"sis", "aut_trava", "1"},  // last line without a line end
  };
  for (const auto& c : cases)
    EXPECT_EQ(posix::readProfileString(ini, c.section, c.key), c.value) << c.section << "/" << c.key;
  EXPECT_EQ(posix::readProfileString(dir / "none.ini", "QUOLT", "PORTA"), "");
}

TEST_F(Profile, CutsValuesAt2047Characters) {
  std::string longValue;
  for (int i = 0; i < 2100; ++i) longValue += "Ã";
  writeFile(ini, "[QUOLT]\nCOMPARTILHAMENTO=" + longValue + "\n");
  std::string expected;
  for (int i = 0; i < 2047; ++i) expected += "Ã";
  EXPECT_EQ(posix::readProfileString(ini, "QUOLT", "COMPARTILHAMENTO"), expected);
}

TEST_F(Profile, WritesOnlyTheKeyAndKeepsEveryOtherLine) {
  const std::string before =
      "; the host's own notes\r\n"
      "[SIS]\r\nAUT_TRAVA=1\r\n"
      "[quolt]\r\nporta = 3\r\nBOBINA=1\r\n\r\n"
      "[OUTRO]\r\nX=\xff\xfe binary\r\n";
  writeFile(ini, before);
  ASSERT_TRUE(posix::writeProfileString(ini, "QUOLT", "PORTA", "7"));
  ASSERT_TRUE(posix::writeProfileString(ini, "QUOLT", "MODELO", "2"));
  ASSERT_TRUE(posix::writeProfileString(ini, "NOVA", "K", "v"));
  EXPECT_EQ(readFile(ini),
            "; the host's own notes\r\n"
            "[SIS]\r\nAUT_TRAVA=1\r\n"
            "[quolt]\r\nPORTA=7\r\nBOBINA=1\r\nMODELO=2\r\n\r\n"
            "[OUTRO]\r\nX=\xff\xfe binary\r\n"
            "[NOVA]\r\nK=v\r\n");
  EXPECT_EQ(posix::readProfileString(ini, "QUOLT", "MODELO"), "2");
}

TEST_F(Profile, CreatesAMissingFileAndFollowsTheFilesLineEnds) {
  ASSERT_TRUE(posix::writeProfileString(ini, "QUOLT", "MODELO", "0"));
  ASSERT_TRUE(posix::writeProfileString(ini, "QUOLT", "PORTA", "0"));
  EXPECT_EQ(readFile(ini), "[QUOLT]\r\nMODELO=0\r\nPORTA=0\r\n");

  const std::string unix = dir / "unix.ini";
  writeFile(unix, "[A]\nB=1");
  ASSERT_TRUE(posix::writeProfileString(unix, "A", "C", "2"));
  EXPECT_EQ(readFile(unix), "[A]\nB=1\nC=2\n");
}

TEST_F(Profile, AValueNeverBreaksItsLine) {
  ASSERT_TRUE(posix::writeProfileString(ini, "QUOLT", "COMPARTILHAMENTO", "a\r\n[SIS]\r\nAUT_TRAVA=1"));
  EXPECT_EQ(posix::readProfileString(ini, "SIS", "AUT_TRAVA"), "");
  EXPECT_EQ(posix::readProfileString(ini, "QUOLT", "COMPARTILHAMENTO"), "a  [SIS]  AUT_TRAVA=1");
}

TEST_F(Profile, FailsWhereItCannotWrite) {
  // A folder that does not exist, and a settings "file" that is a folder.
  EXPECT_FALSE(posix::writeProfileString(dir / "missing/x.ini", "QUOLT", "PORTA", "1"));
  std::filesystem::create_directory(ini);
  EXPECT_FALSE(posix::writeProfileString(ini, "QUOLT", "PORTA", "1"));
  EXPECT_TRUE(std::filesystem::is_directory(ini));
}

// A process killed at any step of a write leaves the old file or the new one, whole, with the
// other program's sections intact.
TEST_F(Profile, AKillAtAnyStepLeavesTheOldOrTheNewFile) {
  const std::string old = "[SIS]\r\nAUT_TRAVA=1\r\n[QUOLT]\r\nPORTA=3\r\nMODELO=1\r\n";
  const std::string updated = "[SIS]\r\nAUT_TRAVA=1\r\n[QUOLT]\r\nPORTA=7\r\nMODELO=1\r\n";
  using posix::WriteStep;
  const struct {
    WriteStep step;
    bool expectNew;
  } cases[] = {{WriteStep::TempCreated, false}, {WriteStep::PartWritten, false},
               {WriteStep::Written, false},     {WriteStep::Synced, false},
               {WriteStep::Renamed, true}};
  for (const auto& c : cases) {
    writeFile(ini, old);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      posix::writeProfileString(ini, "QUOLT", "PORTA", "7", [&](WriteStep s) {
        if (s == c.step) ::kill(::getpid(), SIGKILL);
      });
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << static_cast<int>(c.step);
    EXPECT_EQ(readFile(ini), c.expectNew ? updated : old) << static_cast<int>(c.step);
  }
}

}  // namespace
