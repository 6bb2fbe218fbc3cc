// quolt_autenticador's window: show, activation, list changes, keys and the Authenticate
// command's checks, with its settings files real files.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/direct_fixture.h"

namespace {

using memory::Shown;
using testing_support::DirectWindow;

TEST_F(DirectWindow, ShowSetsCaptionDisablesTheShareFieldAndParses) {
  writeSettings("[QUOLT]\r\nPORTA=7\r\n");  // USB: the share field stays disabled all the same
  start("PREFEITURA X PROTOC:001234/2015 12/03/2015 10:45");
  EXPECT_EQ(window.caption(), "Autenticar Protocolo [versão 3.21.14.31] ");
  EXPECT_EQ(port().text(), "USB");
  EXPECT_FALSE(share().enabled());
  EXPECT_EQ(form.strNomeEntidade, "PREFEITURA X ");
  EXPECT_EQ(form.strProtocolo, "001234/2015");
  EXPECT_EQ(form.strDataProtocolo, "12/03/2015");
  EXPECT_EQ(form.strHoraProtocolo, "10:45");
  EXPECT_TRUE(app.shown().empty());
  EXPECT_EQ(window.focus(), "TxtAutentica");
}

TEST_F(DirectWindow, TooFewWordsShowsTheErrorBeforeActivationGoesOn) {
  start("X PROTOC:55");
  ASSERT_EQ(app.shown().size(), 1u);
  EXPECT_EQ(app.shown()[0], (Shown{Shown::Kind::ErrorBox, "Sistema de Autenticação",
                                   "List index out of bounds (1)"}));
  EXPECT_EQ(window.caption(), "Autenticar Protocolo [versão 3.21.14.31] ");
  EXPECT_FALSE(share().enabled());
  EXPECT_EQ(form.strProtocolo, "55");
  EXPECT_EQ(port().text(), "LPT1");  // the activation still ran
}

// A fresh window for each case of a table.
struct FreshWindow : DirectWindow {
  void TestBody() override {}
};

TEST(DirectLock, OnlyExactlyOneLocksTheText) {
  const std::pair<const char*, bool> cases[] = {
      {"[SIS]\r\nAUT_TRAVA=1\r\n", true},      {"[sis]\r\naut_trava = 1 \r\n", true},
      {"[SIS]\r\nAUT_TRAVA=0\r\n", false},     {"[SIS]\r\nAUT_TRAVA=01\r\n", false},
      {"[SIS]\r\nAUT_TRAVA=true\r\n", false},  {"[SIS]\r\nAUT_TRAVA=\r\n", false},
      {"[SIS]\r\nOUTRA=1\r\n", false},         {"[QUOLT]\r\nAUT_TRAVA=1\r\n", false},
      {nullptr, false}};
  for (const auto& [content, locked] : cases) {
    FreshWindow w;
    if (content) w.writeHostFile(content);
    w.start();
    EXPECT_EQ(w.text().enabled(), !locked) << (content ? content : "no sis.ini");
    EXPECT_EQ(w.window.focus(), locked ? "btnAutenticacao" : "TxtAutentica");
  }
}

struct StoredCase {
  const char* file;
  int model, port, roll;
  const char* share;
  const char* error;  // the error box, or empty
};

TEST(DirectSettings, LoadWithDefaults) {
  const StoredCase cases[] = {
        StoredCase{nullptr, 0, 0, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nMODELO=2\r\nPORTA=3\r\nBOBINA=0\r\nCOMPARTILHAMENTO=\\\\PC\\Z\r\n", 2, 3,
                   0, "\\\\PC\\Z", ""},
        StoredCase{"[QUOLT]\r\nMODELO=7\r\nPORTA=7\r\n", 0, 7, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=  2\r\n", 0, 2, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=+2\r\n", 0, 2, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=$2\r\n", 0, 2, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=x2\r\n", 0, 2, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=0X2\r\n", 0, 2, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=-1\r\nBOBINA=-1\r\n", 0, 0, 1, "typed", ""},
        StoredCase{"[QUOLT]\r\nPORTA=\r\nCOMPARTILHAMENTO=\r\n", 0, 0, 1, "typed", ""},
        // A value that does not convert stops the load at its key: nothing after it, no defaults.
        StoredCase{"[QUOLT]\r\nMODELO=abc\r\nPORTA=3\r\nCOMPARTILHAMENTO=\\\\PC\\Z\r\n", -1, -1, -1,
                   "typed", "''abc'' is not a valid integer value."},
        StoredCase{"[QUOLT]\r\nMODELO=1\r\nPORTA=2a\r\nBOBINA=0\r\n", 1, -1, -1, "typed",
                   "''2a'' is not a valid integer value."}};
  for (const auto& c : cases) {
    FreshWindow w;
    if (c.file) w.writeSettings(c.file);
    w.share().setText("typed");
    w.start();
    const std::string name = c.file ? c.file : "no file";
    EXPECT_EQ(w.model().selectedIndex(), c.model) << name;
    EXPECT_EQ(w.port().selectedIndex(), c.port) << name;
    EXPECT_EQ(w.roll().selectedIndex(), c.roll) << name;
    EXPECT_EQ(w.share().text(), c.share) << name;
    EXPECT_EQ(w.messages(), c.error[0] ? std::vector<std::string>{c.error} : std::vector<std::string>{})
        << name;
    if (!c.file) {
      EXPECT_FALSE(std::filesystem::exists(w.settingsPath()));  // created at the first change
    }
  }
}

TEST_F(DirectWindow, RollListFollowsTheModelFromTheActivation) {
  writeSettings("[QUOLT]\r\nMODELO=2\r\n");
  start();
  EXPECT_FALSE(roll().enabled());
  app.select("ComboModeloImpressora", 1);
  EXPECT_TRUE(roll().enabled());
  app.select("ComboModeloImpressora", 2);
  EXPECT_FALSE(roll().enabled());
}

TEST_F(DirectWindow, AnyListChangeSavesAllFourKeysAndAppliesBothRules) {
  writeSettings("[SIS]\r\nAUT_TRAVA=0\r\n");
  start();
  share().setText(" \\\\PC\\TLP2844 ");
  app.select("ComboPorta", 3);
  EXPECT_EQ(settings(),
            "[SIS]\r\nAUT_TRAVA=0\r\n"
            "[QUOLT]\r\nMODELO=0\r\nPORTA=3\r\nBOBINA=1\r\nCOMPARTILHAMENTO= \\\\PC\\TLP2844 \r\n");
  EXPECT_FALSE(share().enabled());
  app.select("ComboPorta", 7);
  EXPECT_TRUE(share().enabled());
  app.select("ComboBobina", 0);  // any list: the share rule follows the port
  EXPECT_TRUE(share().enabled());
  EXPECT_NE(settings().find("BOBINA=0\r\n"), std::string::npos);
}

TEST_F(DirectWindow, ATypedShareNameIsKeptButNotSavedUntilAListChanges) {
  writeSettings("[QUOLT]\r\nCOMPARTILHAMENTO=\\\\OLD\\Q\r\n");
  start();
  share().setText("\\\\NEW\\Q");
  app.pressKey(core::kKeyF5);  // a message box, then activation again
  app.activateAgain();
  EXPECT_EQ(share().text(), "\\\\NEW\\Q");
  EXPECT_NE(settings().find("\\\\OLD\\Q"), std::string::npos);
}

// A failed write stops the save there (earlier keys stay written) and the rest of the
// handler; the next event runs as usual.
TEST_F(DirectWindow, AFailedWriteStopsTheSaveAndTheHandlerOnly) {
  start();
  system.writes = 0;
  system.failWrite = 3;  // BOBINA
  app.select("ComboPorta", 7);
  EXPECT_EQ(settings(), "[QUOLT]\r\nMODELO=0\r\nPORTA=7\r\n");
  EXPECT_FALSE(share().enabled());  // the share rule did not run
  EXPECT_EQ(messages(), std::vector<std::string>{"Unable to write to " + settingsPath() + "."});
  EXPECT_EQ(port().text(), "USB");  // the operator's selection stays

  app.select("ComboPorta", 7);  // no failure this time
  EXPECT_TRUE(share().enabled());
}

TEST_F(DirectWindow, AnUnwritableFolderKeepsTheFileAndSaysWhere) {
  const std::string before = "[QUOLT]\r\nMODELO=1\r\nPORTA=2\r\n";
  writeSettings(before);
  ::chmod(settingsPath().c_str(), 0644);
  ::chmod(dir.path().c_str(), 0555);
  std::string shownText = testing_support::asUnprivileged([&] {
    start();
    app.select("ComboPorta", 7);
    std::string all;
    for (const auto& s : messages()) all += s + "|";
    return all + (share().enabled() ? "enabled" : "disabled");
  });
  EXPECT_EQ(shownText, "Unable to write to " + settingsPath() + ".|disabled");
  EXPECT_EQ(settings(), before);
}

// Every key handler: F5 runs the Authenticate command, F4 ends the program, whatever the
// modifiers; other keys, and every key on the settings tab's controls, do nothing.
TEST(DirectKeys, KeyTable) {
  const struct {
    std::uint16_t key;
    unsigned shift;
    bool authenticates, exits;
  } keys[] = {{core::kKeyF5, 0, true, false},          {core::kKeyF5, core::kShift, true, false},
              {core::kKeyF5, core::kCtrl, true, false}, {core::kKeyF5, core::kAlt, true, false},
              {core::kKeyF4, 0, false, true},          {core::kKeyF4, core::kAlt, false, true},
              {13, 0, false, false},                   {117, 0, false, false}};
  const std::pair<std::string, bool> controls[] = {
      {"TxtAutentica", true}, {"btnAutenticacao", true}, {"BitSair", true}, {"", true},
      {"ComboPorta", false},  {"edNomeCompartilhamento", false}, {"ComboModeloImpressora", false},
      {"ComboBobina", false}};
  for (const auto& [control, handles] : controls) {
    for (const auto& k : keys) {
      FreshWindow run;
      run.start();
      run.port().setSelectedIndex(-1);  // so the command shows its first message and ends
      run.window.focusOn(control);
      run.app.pressKey(k.key, k.shift);
      const bool authenticated = run.messages() == std::vector<std::string>{"Selecione uma Porta!"};
      EXPECT_EQ(authenticated, handles && k.authenticates) << "'" << control << "' key " << k.key;
      EXPECT_EQ(run.app.terminated(), handles && k.exits) << "'" << control << "' key " << k.key;
    }
  }
}

TEST_F(DirectWindow, AltDClicksAuthenticateOnlyOnTheFirstTab) {
  start();
  port().setSelectedIndex(-1);
  app.altD();
  EXPECT_EQ(messages(), std::vector<std::string>{"Selecione uma Porta!"});
  app.switchTab("TabSheet2");
  EXPECT_EQ(window.focus(), "ComboPorta");
  app.altD();
  EXPECT_EQ(messages().size(), 1u);
  app.switchTab("TabSheet1");
  EXPECT_EQ(window.focus(), "TxtAutentica");
}

// The Authenticate command's checks before anything is printed.
TEST_F(DirectWindow, AuthenticateChecksPortThenModel) {
  testing_support::writeFile(dir / "lp0", "");  // LPT1: it must stay untouched
  start();
  port().setSelectedIndex(-1);
  roll().setEnabled(false);
  app.pressKey(core::kKeyF5);
  EXPECT_EQ(messages(), std::vector<std::string>{"Selecione uma Porta!"});
  EXPECT_FALSE(roll().enabled());  // left as it was

  app.clearShown();
  port().setSelectedIndex(0);
  model().setSelectedIndex(-1);
  app.pressKey(core::kKeyF5);
  EXPECT_EQ(messages(), std::vector<std::string>{"Modelo Não Suportado!"});
  EXPECT_EQ(app.shown()[0].caption, "Sistema de Autenticação");
  EXPECT_TRUE(roll().enabled());
  EXPECT_EQ(testing_support::readFile(dir / "lp0"), "");
}

TEST_F(DirectWindow, ReceiptOverUsbWithoutAShareAsksForItAndMovesTheFocus) {
  start();
  port().setSelectedIndex(7);
  model().setSelectedIndex(2);
  share().setText(" \t ");
  testing_support::InFolder here(dir.path());  // where a name like the share's would land
  const auto before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
  app.pressKey(core::kKeyF5);
  EXPECT_EQ(messages(), std::vector<std::string>{
                            "Para imprimir na ZEBRA GC420d via USB é obrigatório informar o "
                            "compartilhamento da impressora!\rEx.: \\\\ESTACAO01\\TLP2844)"});
  EXPECT_FALSE(roll().enabled());
  EXPECT_EQ(window.focus(), "edNomeCompartilhamento");
  EXPECT_EQ(window.page(), "TabSheet2");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), before);  // no output
}

TEST_F(DirectWindow, ExitEndsTheProgram) {
  start();
  app.click("BitSair");
  EXPECT_TRUE(app.terminated());
}

}  // namespace
