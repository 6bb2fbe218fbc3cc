// Printer shares reached for real: the label receipt travels over SMB to a Samba server on
// loopback whose printer share stores each job as a file, and the failures the desk can meet
// (wrong share, refused guest, server gone) end in their messages, never in a false success.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "direct/canal.h"
#include "direct/impressao.h"
#include "platform/posix/smb_share.h"
#include "tests/e2e/smb/samba_server.h"

namespace {

using testing_support::SambaServer;

// The bytes the printer must receive: every line in the code page, ended by CR LF.
std::string expectedJob(posix::System& system, const core::ProtocolFields& fields) {
  std::string bytes;
  for (const auto& line : direct::labelProgram(fields)) bytes += system.toCodePage(line) + "\r\n";
  return bytes;
}

// The failure the channel raised, or nothing when the whole receipt went through.
std::optional<core::EInOutError> labelFailure(posix::System& system, const std::string& target) {
  try {
    direct::writeLabel(system, target, {"", "123", "01/02/2024", "10:11:12"});
  } catch (const core::EInOutError& error) {
    return error;
  }
  return std::nullopt;
}

// ---- names ------------------------------------------------------------------------------

TEST(ShareName, PartsOfAShareName) {
  struct Case {
    std::string name;
    std::string host;
    int port;
    std::string share;
  } cases[] = {
      {"\\\\ESTACAO01\\TLP2844", "ESTACAO01", 0, "TLP2844"},
      {"//estacao01/tlp2844", "estacao01", 0, "tlp2844"},
      {"\\\\ESTACAO01/TLP2844", "ESTACAO01", 0, "TLP2844"},
      {"\\\\127.0.0.1:4450\\TLP2844", "127.0.0.1", 4450, "TLP2844"},
      {"\\\\host:65535\\Zebra Balcão", "host", 65535, "Zebra Balcão"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = posix::parseShareName(c.name);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->host, c.host);
    EXPECT_EQ(parsed->port, c.port);
    EXPECT_EQ(parsed->share, c.share);
  }
}

TEST(ShareName, MalformedNamesAreNoShareAndFailAsInvalidNames) {
  posix::System system;
  for (const std::string name :
       {"\\\\", "\\\\ESTACAO01", "\\\\ESTACAO01\\", "\\\\\\TLP2844", "\\\\ESTACAO01\\\\TLP2844",
        "\\\\ESTACAO01\\TLP2844\\", "\\\\ESTACAO01\\TLP2844\\label.txt", "\\\\host:\\TLP2844",
        "\\\\host:0\\TLP2844", "\\\\host:65536\\TLP2844", "\\\\host:44a\\TLP2844",
        "\\\\:4450\\TLP2844"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(posix::isShareName(name));
    EXPECT_FALSE(posix::parseShareName(name));
    // Never taken for a file name: the operator reads which name is wrong.
    const auto opened = system.createOutput(name);
    EXPECT_FALSE(opened.file);
    EXPECT_EQ(opened.error, 3);
    EXPECT_EQ(direct::ioErrorMessage(opened.error, name), "Invalid file name - " + name);
  }
  for (const std::string name : {"USB", "\\ESTACAO01\\TLP2844", "/tmp/x", "LPT1"})
    EXPECT_FALSE(posix::isShareName(name)) << name;
}

TEST(ShareName, UrlKeepsEveryCharacterInsideItsPart) {
  // "@", ";", "?", "/" and "%" would otherwise read as credentials, options or a path.
  EXPECT_EQ(posix::shareUrl({"user@evil;x", 0, "a?b/c%d"}), "smb://user%40evil%3Bx/a%3Fb%2Fc%25d");
  EXPECT_EQ(posix::shareUrl({"127.0.0.1", 4450, "Balcão 1"}),
            "smb://127.0.0.1:4450/Balc%C3%A3o%201");
}

// ---- a running server -------------------------------------------------------------------

class SmbShare : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new SambaServer(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { server_->clearJobs(); }

  static SambaServer* server_;
  posix::System system_;
};

SambaServer* SmbShare::server_ = nullptr;

TEST_F(SmbShare, ReceiptArrivesByteForByte) {
  struct Case {
    std::string target;
    core::ProtocolFields fields;
    std::size_t lines;
  } cases[] = {
      {server_->shareName("TLP2844"), {"", "2024/000123", "01/02/2024", "10:11:12"}, 29},
      // Forward slashes, another case of the share's name, and an entity name with letters
      // outside ASCII and characters the label language would take for commands.
      {"//127.0.0.1:" + std::to_string(server_->port()) + "/tlp2844",
       {"Cartório São José ^~\\", "2024/000124", "02/02/2024", "23:59:59"},
       30},
  };
  {
    // A block channel, as Windows reports a share: the receipt leaves in blocks of 128.
    auto opened = system_.createOutput(cases[0].target);
    ASSERT_TRUE(opened.file) << opened.error;
    EXPECT_EQ(opened.file->type(), os::FileType::Disk);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    server_->clearJobs();
    ASSERT_EQ(direct::labelProgram(c.fields).size(), c.lines);
    direct::writeLabel(system_, c.target, c.fields);
    // Closing the job returns once the server has taken it: it is printed by now.
    EXPECT_EQ(server_->jobs(), std::vector<std::string>{expectedJob(system_, c.fields)});
  }
}

TEST_F(SmbShare, FailuresGiveTheirMessageAndPrintNothing) {
  struct Case {
    std::string share;
    int code;
    std::string message;
  } cases[] = {
      {"NAOEXISTE", 67, "I/O error 67"},     // the network name cannot be found
      {"PRIVADA", 5, "File access denied"},  // the server refuses the guest
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.share);
    const auto failure = labelFailure(system_, server_->shareName(c.share));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), c.code);
    EXPECT_STREQ(failure->what(), c.message.c_str());
  }
  EXPECT_TRUE(server_->jobs().empty());
}

// The server goes away while two jobs are open: the one still sending fails at its next
// block, the one whose bytes have all left fails at close, where the job would have been
// submitted; then a new receipt finds no server there.
TEST(SmbShareStopped, ServerGoneGivesItsMessage) {
  SambaServer server;
  const std::string target = server.shareName("TLP2844");
  posix::System system;
  direct::OutputChannel sending(system), submitting(system);
  sending.open(target);
  sending.writeLine(std::string(200, 'A'));  // one block of 128 leaves now
  submitting.open(target);
  submitting.write(std::string(direct::kBufferSize, 'B'));  // all of it leaves now
  server.stop();

  auto expectNetNameGone = [](auto operation) {
    try {
      operation();
      ADD_FAILURE() << "a job the server never took was reported as printed";
    } catch (const core::EInOutError& error) {
      EXPECT_EQ(error.code(), 64);
      EXPECT_STREQ(error.what(), "I/O error 64");
    }
  };
  expectNetNameGone([&] { sending.writeLine(std::string(200, 'A')); });
  expectNetNameGone([&] { submitting.close(); });

  // No server answering there, like a host no name service knows: the network path was not
  // found.
  for (const std::string& absent : {target, std::string("\\\\nosuchhost.invalid\\TLP2844")}) {
    SCOPED_TRACE(absent);
    const auto failure = labelFailure(system, absent);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->code(), 53);
    EXPECT_STREQ(failure->what(), "I/O error 53");
  }
}

}  // namespace
