// What quolt_autenticador sends, byte for byte against golden files, and how the output channel
// behaves on real targets: files, a pseudo-terminal, FIFOs, /dev/full, standard output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <thread>

#include "core/errors.h"
#include "direct/canal.h"
#include "direct/impressao.h"
#include "tests/support/direct_fixture.h"

namespace {

using testing_support::DirectWindow;
using testing_support::readFile;
using testing_support::TempDir;

std::string golden(const std::string& name) {
  return readFile(std::string(QUOLT_SOURCE_DIR) + "/tests/golden/" + name);
}

struct FreshWindow : DirectWindow {
  void TestBody() override {}
};

TEST(DirectDocument, BytesOnThePortForEachRollChoice) {
  const std::string text = "ENTIDADE PROTOC:0001/2026 11/12/2026 10:45";
  const std::string longText = readFile(std::string(QUOLT_SOURCE_DIR) + "/tests/golden/document_300.txt");
  const struct {
    std::string text;
    int model, roll;
    const char* golden;
  } cases[] = {{text, 0, 0, "document_roll.bin"},       {text, 1, 0, "document_roll.bin"},
               {text, 0, 1, "document_no_roll.bin"},    {text, 1, -1, "document_no_roll.bin"},
               {"", 0, 0, "document_empty_roll.bin"},   {"", 0, 1, "document_empty_no_roll.bin"},
               {longText, 1, 0, "document_300_roll.bin"}};
  for (const auto& c : cases) {
    FreshWindow w;
    testing_support::InFolder here(w.dir.path());
    w.writeSettings("[QUOLT]\r\nPORTA=7\r\nMODELO=" + std::to_string(c.model) +
                    "\r\nBOBINA=" + std::to_string(c.roll) + "\r\n");
    w.start(c.text);
    w.text().setText(c.text);  // what the field holds at the press is printed
    w.app.pressKey(core::kKeyF5);
    EXPECT_TRUE(w.app.shown().empty() || c.text.empty()) << c.golden;
    EXPECT_EQ(readFile(w.dir / "USB"), golden(c.golden)) << c.golden << " roll " << c.roll;
    EXPECT_TRUE(w.roll().enabled());
  }
}

TEST(DirectDocument, AnEditAfterTheShowIsPrintedAndAnOldFileEmptied) {
  FreshWindow w;
  testing_support::InFolder here(w.dir.path());
  testing_support::writeFile(w.dir / "USB", std::string(1000, 'x'));
  w.writeSettings("[QUOLT]\r\nPORTA=7\r\n");
  w.start("ORIGINAL PROTOC:1 2 3");
  w.text().setText("ENTIDADE PROTOC:0001/2026 11/12/2026 10:45");
  w.app.pressKey(core::kKeyF5);
  EXPECT_EQ(readFile(w.dir / "USB"), golden("document_no_roll.bin"));
}

TEST(DirectLabel, ReceiptsByteForByte) {
  const struct {
    const char* text;
    const char* golden;
  } cases[] = {
      {"PROTOC:0001/2026 11/12/2026 10:45", "label_no_entity.bin"},
      {"ENTIDADE PROTOC:0001/2026 11/12/2026 10:45", "label_entity.bin"},
      {"   PROTOC:0001/2026 11/12/2026 10:45", "label_blank_entity.bin"},
      {"A^XZ~B\\C PROTOC:1^2 ~JA \\1", "label_escapes.bin"},
      {"SÃO PAULO PROTOC:Nº1 CONCEIÇÃO 10:45", "label_accents.bin"},
      {"X PROTOC:55", "label_empty_fields.bin"},
  };
  for (const auto& c : cases) {
    FreshWindow w;
    w.writeSettings("[QUOLT]\r\nMODELO=2\r\nPORTA=1\r\nCOMPARTILHAMENTO=" + (w.dir / "zebra") + "\r\n");
    w.start(c.text);
    w.text().setText("an edit the label ignores");
    w.app.clearShown();
    w.app.pressKey(core::kKeyF5);
    EXPECT_TRUE(w.app.shown().empty()) << c.golden;
    EXPECT_EQ(readFile(w.dir / "zebra"), golden(c.golden)) << c.golden;
    EXPECT_FALSE(w.roll().enabled());
  }
}

TEST(DirectLabel, FieldDataNeverCarriesACommand) {
  EXPECT_EQ(direct::zplFieldData("a^XZ~JA\\b"), "a\\5EXZ\\7EJA\\5Cb");
  EXPECT_EQ(direct::zplFieldData("Ã\x7f\t"), "\\C3\\83\\7F\\09");
  EXPECT_EQ(direct::zplFieldData(" 09AZaz!/:@[]{}"), " 09AZaz!/:@[]{}");
}

// Records every write the channel makes on the real target.
class Recording : public testing_support::SystemIn {
 public:
  using SystemIn::SystemIn;
  std::vector<std::size_t> sends;

  os::Opened createOutput(const std::string& name) override {
    auto opened = SystemIn::createOutput(name);
    if (opened.file) opened.file = std::make_unique<Spy>(std::move(opened.file), sends);
    return opened;
  }

 private:
  struct Spy : os::OutputFile {
    Spy(std::unique_ptr<os::OutputFile> f, std::vector<std::size_t>& s) : file(std::move(f)), sends(s) {}
    os::FileType type() const override { return file->type(); }
    int write(std::string_view bytes) override {
      sends.push_back(bytes.size());
      return file->write(bytes);
    }
    int close() override { return file->close(); }
    std::unique_ptr<os::OutputFile> file;
    std::vector<std::size_t>& sends;
  };
};

TEST(OutputChannel, ABlockTargetGetsFull128ByteBlocksAndTheRestAtClose) {
  TempDir dir;
  Recording system(dir.path().string());
  const std::string text(300, 'A');
  direct::writeDocument(system, dir / "out", true, text);  // 307 bytes, then 302
  EXPECT_EQ(system.sends, (std::vector<std::size_t>{128, 128, 128, 128, 97}));
  EXPECT_EQ(readFile(dir / "out").size(), 609u);
}

TEST(OutputChannel, ACharacterDeviceGetsEachOperationByItsEnd) {
  int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string slave = ::ptsname(master);
  // Raw, so the terminal adds nothing to the bytes; held open so that the channel's close is no
  // hang-up that would throw away what the reader has not read yet.
  const int slaveHeld = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  ::tcgetattr(slaveHeld, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(slaveHeld, TCSANOW, &t);
  TempDir dir;
  std::filesystem::create_symlink(slave, dir / "ttyS0");  // COM1
  Recording system(dir.path().string(), dir.path().string() + "/");
  std::string received;
  std::thread reader([&] {
    char buf[1024];
    while (received.size() < 609) {
      ssize_t n = ::read(master, buf, sizeof buf);
      if (n <= 0) break;
      received.append(buf, static_cast<std::size_t>(n));
    }
  });
  direct::writeDocument(system, "com1", true, std::string(300, 'B'));
  reader.join();
  ::close(slaveHeld);
  ::close(master);
  EXPECT_EQ(system.sends, (std::vector<std::size_t>{128, 128, 51, 128, 128, 46}));
  EXPECT_EQ(received, "\x1b" "a1" + std::string(300, 'B') + "\r\x1b" "a0" + std::string(300, 'B') + "\r\n");
}

std::string failureOf(const std::function<void()>& command) {
  try {
    command();
  } catch (const core::EInOutError& e) {
    return core::errorBoxText(e.what());
  }
  return "no error";
}

// Open descriptors of this process that lead to `path`.
int descriptorsOn(const std::string& path) {
  int n = 0;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (std::filesystem::read_symlink(fd.path(), ec) == path) ++n;
  }
  return n;
}

TEST(OutputChannel, FailuresWithTheirMessages) {
  TempDir dir;
  testing_support::SystemIn system(dir.path().string(), dir.path().string() + "/");
  const std::string longName(300, 'N');
  const struct {
    std::string target;
    std::string message;
  } cases[] = {
      {"COM6", "The specified file was not found."},  // no such device in the folder
      {"LPT3", "The specified file was not found."},
      {dir / "missing/USB", "Invalid file name - " + (dir / "missing/USB") + "."},
      {longName, "Invalid file name - " + longName + "."},
      {"/dev/full", "I/O error 112."},
      {"\\\\ESTACAO", "Invalid file name - \\\\ESTACAO."},  // a share name lacking its share
  };
  for (const auto& c : cases)
    EXPECT_EQ(failureOf([&] { direct::writeDocument(system, c.target, false, "TEXTO"); }), c.message)
        << c.target;
  EXPECT_FALSE(std::filesystem::exists(dir / "ttyS5"));
  std::error_code tooLong;
  EXPECT_FALSE(std::filesystem::exists(longName, tooLong));
}

TEST(OutputChannel, ATargetWithoutWritePermissionIsAccessDenied) {
  TempDir dir;
  testing_support::writeFile(dir / "locked", "old");
  ::chmod((dir / "locked").c_str(), 0444);
  const std::string shown = testing_support::asUnprivileged([&] {
    testing_support::SystemIn system(dir.path().string());
    return failureOf([&] { direct::writeDocument(system, dir / "locked", false, "TEXTO"); });
  });
  EXPECT_EQ(shown, "File access denied.");
  EXPECT_EQ(readFile(dir / "locked"), "old");
}

// A FIFO whose reader goes away mid-job: an I/O error, the program alive, the handle released
// before the error reaches the operator.
TEST(OutputChannel, AReaderThatVanishesIsAnIoErrorAndReleasesTheTarget) {
  TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread reader([&] {
    int fd = ::open(fifo.c_str(), O_RDONLY);
    char buf[128];
    [[maybe_unused]] auto n = ::read(fd, buf, sizeof buf);
    ::close(fd);
  });
  testing_support::SystemIn system(dir.path().string());
  int openAtFailure = -1;
  std::string shown;
  try {
    direct::writeDocument(system, fifo, false, std::string(200000, 'F'));  // beyond the pipe's buffer
  } catch (const core::EInOutError& e) {
    openAtFailure = descriptorsOn(fifo);
    shown = core::errorBoxText(e.what());
  }
  reader.join();
  EXPECT_EQ(shown, "I/O error 232.");
  EXPECT_EQ(openAtFailure, 0);
}

// Redirects this process's standard output for one command.
class StandardOutput {
 public:
  explicit StandardOutput(const std::string& file) : saved_(::dup(STDOUT_FILENO)) {
    std::fflush(stdout);
    if (file.empty()) {
      ::close(STDOUT_FILENO);
    } else {
      int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(fd, STDOUT_FILENO);
      ::close(fd);
    }
  }
  ~StandardOutput() {
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
  }

 private:
  int saved_;
};

TEST(DirectLabel, AnEmptyShareNameOnAPortIsTheStandardOutput) {
  FreshWindow w;
  w.writeSettings("[QUOLT]\r\nMODELO=2\r\nPORTA=0\r\n");
  w.start("PROTOC:0001/2026 11/12/2026 10:45");
  {
    StandardOutput out(w.dir / "stdout");
    w.app.pressKey(core::kKeyF5);
  }
  EXPECT_EQ(readFile(w.dir / "stdout"), golden("label_no_entity.bin"));
  EXPECT_TRUE(w.app.shown().empty());
  {
    StandardOutput none("");  // a window program started without one
    w.app.pressKey(core::kKeyF5);
  }
  EXPECT_EQ(w.messages(), std::vector<std::string>{"I/O error 105."});
}

TEST(DirectLabel, AFailedOpenSendsNothingAndKeepsTheRollListDisabled) {
  FreshWindow w;
  w.writeSettings("[QUOLT]\r\nMODELO=2\r\nPORTA=7\r\nCOMPARTILHAMENTO=" + (w.dir / "no/such") + "\r\n");
  w.start("PROTOC:1 2 3");
  w.app.pressKey(core::kKeyF5);
  EXPECT_EQ(w.messages(), std::vector<std::string>{"Invalid file name - " + (w.dir / "no/such") + "."});
  EXPECT_FALSE(w.roll().enabled());
}

}  // namespace
