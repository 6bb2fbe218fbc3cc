// Bad input and faults around quolt_autenticador's window: each ends in its exact message or in
// the full result, and nothing is lost.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <thread>

#include "core/command_line.h"
#include "platform/posix/codepage.h"
#include "platform/posix/profile.h"
#include "tests/support/direct_fixture.h"

namespace {

using testing_support::DirectWindow;
using testing_support::readFile;

struct FreshWindow : DirectWindow {
  void TestBody() override {}
};

TEST(Faults, AMegabyteTextIsSplitShownParsedAndPrintedWhole) {
  std::string text = "ENTIDADE PROTOC:0001/2026 11/12/2026 10:45 ";
  while (text.size() < (1u << 20)) text += "SÃO PAULO ";
  const std::string line = "quolt_autenticador.exe OK \"" + text + "\"";
  const auto args = core::splitCommandLine(line, [](unsigned char) { return false; });
  ASSERT_EQ(args.size(), 3u);
  ASSERT_EQ(args[2], text);

  FreshWindow w;
  testing_support::InFolder here(w.dir.path());
  w.writeSettings("[QUOLT]\r\nPORTA=7\r\n");
  w.start(args[2]);
  EXPECT_EQ(w.text().text(), text);
  EXPECT_EQ(w.form.strProtocolo, "0001/2026");
  w.app.pressKey(core::kKeyF5);
  EXPECT_TRUE(w.app.shown().empty());
  EXPECT_EQ(readFile(w.dir / "USB"), posix::utf8ToCp1252(text) + "\r\n");
}

TEST(Faults, AHugeSettingsFileIsReadAndKeptWhole) {
  FreshWindow w;
  std::string other;
  for (int i = 0; i < 100000; ++i) other += "CHAVE" + std::to_string(i) + "=valor " + std::to_string(i) + "\r\n";
  const std::string before = "[HOST]\r\n" + other + "[QUOLT]\r\nPORTA=3\r\nMODELO=1\r\n";
  w.writeSettings(before);
  w.start();
  EXPECT_EQ(w.port().text(), "COM3");
  EXPECT_EQ(w.model().text(), "MP-20 MI");
  w.app.select("ComboPorta", 4);
  EXPECT_EQ(w.settings(), "[HOST]\r\n" + other +
                              "[QUOLT]\r\nPORTA=4\r\nMODELO=1\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n");
}

TEST(Faults, BinaryGarbageInTheSettingsFileDoesNoHarm) {
  std::mt19937 random(20261211);
  std::string garbage;
  for (int i = 0; i < 200000; ++i) {
    char c = static_cast<char>(random() & 0xFF);
    garbage += c == '[' ? '(' : c;  // no section of its own, so the result is known
  }
  FreshWindow w;
  w.writeSettings(garbage);
  w.start();
  EXPECT_EQ(w.port().text(), "LPT1");
  EXPECT_TRUE(w.app.shown().empty());
  w.app.select("ComboPorta", 1);
  const std::string after = w.settings();
  ASSERT_GT(after.size(), garbage.size());
  EXPECT_EQ(after.substr(0, garbage.size()), garbage);  // every byte kept
  EXPECT_EQ(w.port().text(), "COM1");
  EXPECT_EQ(posix::readProfileString(w.settingsPath(), "QUOLT", "PORTA"), "1");
}

TEST(Faults, AFolderThatTurnsReadOnlyBetweenTwoSaves) {
  FreshWindow w;
  testing_support::giveToUnprivileged(w.dir.path());  // the desk's own folder
  const std::string result = testing_support::asUnprivileged([&] {
    w.start();
    w.app.select("ComboPorta", 2);
    ::chmod(w.dir.path().c_str(), 0555);
    w.app.select("ComboPorta", 7);
    ::chmod(w.dir.path().c_str(), 0755);
    std::string shown;
    for (const auto& m : w.messages()) shown += m;
    return shown + "|" + w.port().text();
  });
  EXPECT_EQ(result, "Unable to write to " + w.settingsPath() + ".|USB");
  EXPECT_EQ(w.settings(), "[QUOLT]\r\nMODELO=0\r\nPORTA=2\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n");
}

TEST(Faults, AShareNameOf300CharactersIsKeptAndRefusedByName) {
  const std::string share = "\\\\" + std::string(290, 'S') + "\\TLP2844";
  {
    FreshWindow w;
    w.start();
    w.share().setText(share);
    w.app.select("ComboModeloImpressora", 2);
    w.app.click("btnAutenticacao");
    EXPECT_EQ(w.messages(), std::vector<std::string>{"Invalid file name - " + share + "."});
    // Saved whole, and back whole at the next start.
    FreshWindow next;
    testing_support::writeFile(next.settingsPath(), w.settings());
    next.start();
    EXPECT_EQ(next.share().text(), share);
  }
}

// A printer that stops taking bytes holds the command as the OS holds the write; when it reads
// again the command ends with the whole document and the window as it was.
TEST(Faults, APrinterThatStopsReadingMidJob) {
  FreshWindow w;
  const std::string fifo = w.dir / "lp0";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  w.writeSettings("[QUOLT]\r\nPORTA=0\r\nBOBINA=0\r\n");
  const std::string text(100000, 'P');  // well beyond what the pipe holds
  w.start(text);
  w.app.clearShown();  // the text has too few words for a receipt; the document takes it all

  std::atomic<bool> done{false};
  std::thread command([&] {
    w.app.pressKey(core::kKeyF5);
    done = true;
  });
  int printer = ::open(fifo.c_str(), O_RDONLY);
  char buf[4096];
  ASSERT_EQ(::read(printer, buf, 128), 128);
  // The printer stalls: the command cannot have finished, for the pipe holds less than the job.
  ::usleep(200 * 1000);
  EXPECT_FALSE(done);
  std::string received(buf, 128);
  for (ssize_t n; (n = ::read(printer, buf, sizeof buf)) > 0;) received.append(buf, static_cast<std::size_t>(n));
  command.join();
  ::close(printer);
  EXPECT_TRUE(done);
  EXPECT_TRUE(w.app.shown().empty());
  EXPECT_EQ(received, "\x1b" "a1" + text + "\r\x1b" "a0" + text + "\r\n");
  EXPECT_EQ(w.text().text(), text);
  EXPECT_EQ(w.window.caption(), "Autenticar Protocolo [versão 3.21.14.31] ");
}

}  // namespace
