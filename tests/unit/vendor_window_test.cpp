// quolt_autenticador_dll's window against a fake Mp2032: what the library answers and what the
// operator then sees, the order of the calls, and the settings around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/form.h"
#include "core/startup.h"
#include "direct/frm_autenticar.h"
#include "platform/memory/memory_ui.h"
#include "tests/support/test_support.h"
#include "vendor/frm_autenticar.h"
#include "vendor/program.h"

namespace {

using memory::Shown;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

// One sequence of results: the n-th call answers the n-th value, the last one holding after.
struct Answers {
  std::vector<std::int32_t> values{1};
  std::size_t calls = 0;
  std::int32_t next() { return values[std::min(calls++, values.size() - 1)]; }
};

// Records every call, with its text arguments as the raw bytes the library would get, in the
// log it shares with the settings writes.
struct FakeLibrary : vendor::Library {
  explicit FakeLibrary(std::vector<std::string>& calls) : log(calls) {}

  std::int32_t IniciaPorta(const char* porta) override {
    log.push_back("IniciaPorta(" + text(porta) + ")");
    return iniciaPorta.next();
  }
  std::int32_t FechaPorta() override {
    log.push_back("FechaPorta()");
    return fechaPorta.next();
  }
  std::int32_t ConfiguraModeloImpressora(std::int32_t modelo) override {
    log.push_back("ConfiguraModeloImpressora(" + std::to_string(modelo) + ")");
    return configura.next();
  }
  std::int32_t DocumentInserted() override {
    log.push_back("DocumentInserted()");
    return documentInserted.next();
  }
  std::int32_t AutenticaDoc(const char* texto, std::int32_t tempo) override {
    log.push_back("AutenticaDoc(" + text(texto) + "," + std::to_string(tempo) + ")");
    return autenticaDoc.next();
  }

  static std::string text(const char* p) {
    return p == nullptr ? "NULL" : "\"" + std::string(p) + "\"";
  }

  std::vector<std::string>& log;
  Answers iniciaPorta, fechaPorta, configura, documentInserted{{0}}, autenticaDoc;
};

// The real profile files in a scratch folder; every write is logged, and may be made to fail.
class RecordingSystem : public testing_support::SystemIn {
 public:
  RecordingSystem(const std::string& folder, std::vector<std::string>& log)
      : SystemIn(folder), log_(log) {}
  bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value) override {
    if (failWrites) return false;
    log_.push_back("write " + std::string(key) + "=" + std::string(value));
    return SystemIn::writeProfileString(path, section, key, value);
  }
  bool failWrites = false;

 private:
  std::vector<std::string>& log_;
};

constexpr char kInvalidParameter[] = "Parâmetro inválido na função \"ConfiguraModeloImpressora.\"";
constexpr char kCloseFailed[] = "Problemas ao fechar a porta de Comunicação.";
constexpr char kOpenFailed[] = "Problemas ao abrir a porta de Comunicação.";
constexpr char kNotAuthenticated[] =
    "Problemas na autenticação do documento.\nPossíveis causas: Documento não inserido, "
    "impressora desligada, off-line ou sem papel";

Shown error(const std::string& text) {
  return {Shown::Kind::Dialog, "Error", text};
}
Shown information(const std::string& text) {
  return {Shown::Kind::Dialog, "Information", text};
}
Shown message(const std::string& text) {
  return {Shown::Kind::Message, core::kApplicationTitle, text};
}

std::size_t characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

class VendorWindow : public ::testing::Test {
 protected:
  VendorWindow() {
    vendor::strPorta.clear();
    vendor::intRetorno = 0;
    app.setTitle(core::kApplicationTitle);
  }

  // Start-up's part: the window with the host's text, then the show and the activation.
  void start(const std::string& text = "PROTOC: 1 01/02/2024 10:00") {
    auto& window = app.createWindow(core::vendorDesign());
    form = std::make_unique<vendor::TFrmAutenticar>(window, app, system, library);
    window.textField("TxtAutentica").setText(text);
    dispatcher = std::make_unique<core::Dispatcher>(core::vendorDesign(), *form, app);
    app.run(*dispatcher);
  }

  // A clean slate after the activation, to look at one event alone.
  void forget() {
    log.clear();
    app.clearShown();
  }

  void pressF5() {
    app.switchTab("TabSheet1");
    app.pressKey(core::kKeyF5);
  }

  std::string setting(const std::string& key) {
    return system.readProfileString(dir / "Ravivavizuru.ini", "QUOLT", key);
  }

  TempDir dir;
  std::vector<std::string> log;
  RecordingSystem system{dir.path().string(), log};
  FakeLibrary library{log};
  memory::Application app;
  std::unique_ptr<vendor::TFrmAutenticar> form;
  std::unique_ptr<core::Dispatcher> dispatcher;
};

TEST_F(VendorWindow, ShowSetsTheCaptionAndActivationConfiguresTheModelTwiceWithoutOpeningThePort) {
  start();
  EXPECT_EQ(app.window().caption(), "Autenticar Protocolo - dll - [versão 3.21.14.31] ");
  EXPECT_EQ(log, (std::vector<std::string>{"ConfiguraModeloImpressora(1)", "write MODELO=0",
                                           "write PORTA=0", "ConfiguraModeloImpressora(1)"}));
  EXPECT_EQ(app.window().list("ComboBox1").text(), "LPT1");
  EXPECT_EQ(app.window().list("ComboModeloImpressora").text(), "MP-20 CI");
  EXPECT_TRUE(app.shown().empty());
  EXPECT_EQ(vendor::strPorta, "");
}

TEST_F(VendorWindow, LockFlagDisablesTheTextField) {
  writeFile(dir / "sis.ini", "[SIS]\nAUT_TRAVA=1\n");
  start();
  EXPECT_FALSE(app.window().field("TxtAutentica").enabled());
}

TEST(VendorMessages, InvalidParameterMessageHas57Characters) {
  EXPECT_EQ(characters(vendor::kInvalidParameterMessage), 57u);
  EXPECT_EQ(std::string(vendor::kInvalidParameterMessage), kInvalidParameter);
}

TEST(VendorMessages, AuthenticationFailureHoldsOneLineFeedAndNoFinalFullStop) {
  const std::string text = vendor::kNotAuthenticatedMessage;
  EXPECT_EQ(text, kNotAuthenticated);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.back(), '.');
}

TEST_F(VendorWindow, ConfigurationResultsAtActivation) {
  struct Case {
    std::vector<std::int32_t> answers;
    int messages;
  };
  for (const Case& c : std::vector<Case>{
           {{-2, -2}, 2}, {{-2, 1}, 1}, {{1, -2}, 1}, {{0}, 0}, {{-1}, 0}, {{2}, 0}, {{1}, 0}}) {
    SCOPED_TRACE(::testing::PrintToString(c.answers));
    memory::Application fresh;
    fresh.setTitle(core::kApplicationTitle);
    FakeLibrary fake{log};
    fake.configura.values = c.answers;
    auto& window = fresh.createWindow(core::vendorDesign());
    vendor::TFrmAutenticar window_form(window, fresh, system, fake);
    core::Dispatcher d(core::vendorDesign(), window_form, fresh);
    fresh.run(d);

    EXPECT_EQ(fake.configura.calls, 2u);  // the second runs whatever the first answered
    EXPECT_EQ(fresh.shown(),
              std::vector<Shown>(static_cast<std::size_t>(c.messages), error(kInvalidParameter)));
    EXPECT_EQ(vendor::intRetorno, c.answers[std::min<std::size_t>(1, c.answers.size() - 1)]);
  }
}

TEST_F(VendorWindow, ModelChangeSavesThenConfiguresCodeOneForEitherModel) {
  start();
  for (int model : {1, 0}) {
    forget();
    library.configura.values = {-2};
    app.select("ComboModeloImpressora", model);
    EXPECT_EQ(log, (std::vector<std::string>{"write MODELO=" + std::to_string(model),
                                             "write PORTA=0", "ConfiguraModeloImpressora(1)"}));
    EXPECT_EQ(app.shown(), std::vector<Shown>{error(kInvalidParameter)});
  }
}

TEST_F(VendorWindow, PortChangeSavesClosesThenOpensTheFixedName) {
  start();
  const char* names[] = {"LPT1", "COM1", "COM2", "USB"};
  for (int index : {3, 1, 2, 0}) {
    forget();
    app.select("ComboBox1", index);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "write MODELO=0", "write PORTA=" + std::to_string(index), "FechaPorta()",
                       "IniciaPorta(\"" + std::string(names[index]) + "\")"}));
    EXPECT_EQ(vendor::strPorta, names[index]);
    EXPECT_TRUE(app.shown().empty());
  }
}

TEST_F(VendorWindow, PortResultsAndTheirMessages) {
  struct Case {
    std::int32_t close, open;
    std::vector<Shown> shown;
  };
  start();
  for (const Case& c : std::vector<Case>{{1, 1, {}},
                                         {7, 2, {}},
                                         {0, 1, {error(kCloseFailed)}},
                                         {-1, 1, {error(kCloseFailed)}},
                                         {1, 0, {error(kOpenFailed)}},
                                         {1, -1, {error(kOpenFailed)}},
                                         {0, 0, {error(kCloseFailed), error(kOpenFailed)}}}) {
    SCOPED_TRACE(std::to_string(c.close) + " " + std::to_string(c.open));
    forget();
    library.fechaPorta.values = {c.close};
    library.iniciaPorta.values = {c.open};
    app.select("ComboBox1", 3);
    EXPECT_EQ(log.back(), "IniciaPorta(\"USB\")");  // a failed close does not stop the open
    EXPECT_EQ(app.shown(), c.shown);
  }
}

// A list that reports any index, as a port list with more items than the program knows would.
class UnboundedList : public ui::PickList {
 public:
  int selectedIndex() const override { return index_; }
  void setSelectedIndex(int index) override { index_ = index; }
  std::string text() const override { return index_ < 0 ? "" : "port " + std::to_string(index_); }
  bool enabled() const override { return true; }
  void setEnabled(bool) override {}

 private:
  int index_ = -1;
};

class WindowWithUnboundedPortList : public memory::Window {
 public:
  WindowWithUnboundedPortList() : memory::Window(core::vendorDesign()) {}
  ui::PickList& pickList(std::string_view name) override {
    return name == "ComboBox1" ? ports : memory::Window::pickList(name);
  }
  UnboundedList ports;
};

TEST_F(VendorWindow, PortIndexOutsideTheTableKeepsThePreviousName) {
  WindowWithUnboundedPortList window;
  vendor::TFrmAutenticar frm(window, app, system, library);
  frm.ComboBox1Change();  // nothing selected, nothing named yet: an empty text, not NULL
  window.ports.setSelectedIndex(3);
  frm.ComboBox1Change();
  for (int index : {4, 5, 9, -1}) {
    window.ports.setSelectedIndex(index);
    frm.ComboBox1Change();
  }
  std::vector<std::string> opened;
  for (const auto& line : log)
    if (line.rfind("IniciaPorta", 0) == 0) opened.push_back(line);
  EXPECT_EQ(opened, (std::vector<std::string>{"IniciaPorta(\"\")", "IniciaPorta(\"USB\")",
                                              "IniciaPorta(\"USB\")", "IniciaPorta(\"USB\")",
                                              "IniciaPorta(\"USB\")", "IniciaPorta(\"USB\")"}));
  EXPECT_EQ(vendor::strPorta, "USB");
}

TEST_F(VendorWindow, AuthenticateRunsItsFiveStepsInOrderWithTheTextInTheCodePage) {
  start("Certidão nº 42 – Ação PROTOC: 7");
  app.select("ComboBox1", 3);
  forget();
  pressF5();
  EXPECT_EQ(log, (std::vector<std::string>{
                     "write MODELO=0", "write PORTA=3", "FechaPorta()", "IniciaPorta(\"USB\")",
                     "DocumentInserted()",
                     "AutenticaDoc(\"Certid\xE3o n\xBA 42 \x96 A\xE7\xE3o PROTOC: 7\",10000)"}));
  EXPECT_TRUE(app.shown().empty());
  EXPECT_EQ(setting("PORTA"), "3");
}

TEST_F(VendorWindow, AuthenticateHandsAnEmptyTextNotANullPointer) {
  start("");
  forget();
  pressF5();
  EXPECT_EQ(log.back(), "AutenticaDoc(\"\",10000)");
}

TEST_F(VendorWindow, DocumentCheckResults) {
  struct Case {
    std::int32_t answer;
    bool prints;
  };
  start();
  for (const Case& c :
       std::vector<Case>{{-2, false}, {0, true}, {-1, true}, {1, true}, {2, true}}) {
    SCOPED_TRACE(c.answer);
    forget();
    library.documentInserted.values = {c.answer};
    library.autenticaDoc.values = {1};
    app.click("btnAutenticacao");
    EXPECT_EQ(log.back().rfind("AutenticaDoc", 0) == 0, c.prints);
    EXPECT_EQ(app.shown(), c.prints ? std::vector<Shown>{}
                                    : std::vector<Shown>{information("Documento não inserido.")});
    EXPECT_EQ(vendor::intRetorno, c.prints ? 1 : -2);
  }
}

TEST_F(VendorWindow, AuthenticationResults) {
  struct Case {
    std::int32_t answer;
    std::vector<Shown> shown;
  };
  start();
  for (const Case& c : std::vector<Case>{{0, {error(kNotAuthenticated)}},
                                         {-1, {error("Tempo maior que o permitido.")}},
                                         {-2, {}},
                                         {1, {}},
                                         {2, {}},
                                         {10000, {}}}) {
    SCOPED_TRACE(c.answer);
    forget();
    library.autenticaDoc.values = {c.answer};
    pressF5();
    EXPECT_EQ(app.shown(), c.shown);
    EXPECT_EQ(vendor::intRetorno, c.answer);
  }
  EXPECT_EQ(app.window().field("TxtAutentica").text(), "PROTOC: 1 01/02/2024 10:00");
}

TEST_F(VendorWindow, PortFailuresInTheCommandDoNotStopIt) {
  start();
  forget();
  library.fechaPorta.values = {0};
  library.iniciaPorta.values = {0};
  library.autenticaDoc.values = {-1};
  pressF5();
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(log.back().rfind("AutenticaDoc", 0), 0u);
  EXPECT_EQ(app.shown(), (std::vector<Shown>{error(kCloseFailed), error(kOpenFailed),
                                             error("Tempo maior que o permitido.")}));
}

TEST_F(VendorWindow, NoPortAfterAFailedLoadIsReportedOnlyAfterTheDocumentCheck) {
  writeFile(dir / "Ravivavizuru.ini", "[QUOLT]\nMODELO=abc\nPORTA=1\n");
  start();
  EXPECT_EQ(app.shown(), (std::vector<Shown>{{Shown::Kind::ErrorBox, core::kApplicationTitle,
                                              "'abc' is not a valid integer value."}}));
  EXPECT_TRUE(log.empty());  // no configuration at that activation
  EXPECT_EQ(app.window().list("ComboBox1").selectedIndex(), -1);

  forget();
  pressF5();
  EXPECT_EQ(log, (std::vector<std::string>{"write MODELO=-1", "write PORTA=-1", "FechaPorta()",
                                           "IniciaPorta(\"\")", "DocumentInserted()"}));
  EXPECT_EQ(app.shown(), std::vector<Shown>{message("Selecione uma Porta!")});

  // The document check comes first and ends the command, even with no port selected.
  forget();
  library.documentInserted.values = {-2};
  pressF5();
  EXPECT_EQ(log.back(), "DocumentInserted()");
  EXPECT_EQ(app.shown(), std::vector<Shown>{information("Documento não inserido.")});
}

TEST_F(VendorWindow, FailedSaveStopsTheLibrarySteps) {
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  start();
  const std::string unable = "Unable to write to " + (dir / "Ravivavizuru.ini") + ".";
  system.failWrites = true;
  for (const Case& c :
       std::vector<Case>{{"port change", [&] { app.select("ComboBox1", 2); }},
                         {"model change", [&] { app.select("ComboModeloImpressora", 1); }},
                         {"F5", [&] { pressF5(); }},
                         {"Alt+D", [&] {
                            app.switchTab("TabSheet1");
                            app.altD();
                          }}}) {
    SCOPED_TRACE(c.what);
    forget();
    c.act();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(app.shown(),
              (std::vector<Shown>{{Shown::Kind::ErrorBox, core::kApplicationTitle, unable}}));
  }
  EXPECT_EQ(vendor::strPorta, "");  // the port change stopped before naming the port
}

TEST_F(VendorWindow, FailedSaveAtActivationLeavesOnlyTheFirstConfiguration) {
  system.failWrites = true;
  start();
  EXPECT_EQ(log, std::vector<std::string>{"ConfiguraModeloImpressora(1)"});
  EXPECT_EQ(app.shown().size(), 1u);
  EXPECT_EQ(app.shown()[0].kind, Shown::Kind::ErrorBox);
}

// Both programs installed in one folder read the same stored indices against their own lists.
TEST_F(VendorWindow, SharedSettingsFileIsReadAgainstEachProgramsOwnLists) {
  writeFile(dir / "Ravivavizuru.ini", "[QUOLT]\nPORTA=7\nMODELO=2\n");

  memory::Application directApp;
  auto& directWindow = directApp.createWindow(core::directDesign());
  direct::TFrmAutenticar directForm(directWindow, directApp, system);
  directWindow.textField("TxtAutentica").setText("PROTOC: 1 01/02/2024 10:00");
  core::Dispatcher directDispatcher(core::directDesign(), directForm, directApp);
  directApp.run(directDispatcher);
  EXPECT_EQ(directApp.window().list("ComboPorta").text(), "USB");
  EXPECT_EQ(directApp.window().list("ComboModeloImpressora").text(), "Zebra - GC420d");
  EXPECT_EQ(setting("PORTA"), "7");  // quolt_autenticador saves only at a list change
  EXPECT_EQ(setting("MODELO"), "2");

  start();
  EXPECT_EQ(app.window().list("ComboBox1").text(), "LPT1");
  EXPECT_EQ(app.window().list("ComboModeloImpressora").text(), "MP-20 CI");
  EXPECT_EQ(setting("PORTA"), "0");  // written back at the activation
  EXPECT_EQ(setting("MODELO"), "0");
}

TEST(VendorProgram, HostTextLosesOnEntryWhatTheCodePageLacks) {
  TempDir dir;
  testing_support::SystemIn system(dir.path().string());
  std::vector<std::string> log;
  FakeLibrary fake{log};
  std::string seen;
  const int exitCode = core::startUp(
      {"quolt_autenticador_dll", "ok", "Ação € Ω 日本 – fim"},
      [&] {
        auto app = std::make_unique<memory::Application>();
        app->script = [&](memory::Application& a) {
          seen = a.window().field("TxtAutentica").text();
          a.pressKey(core::kKeyF5);
        };
        return app;
      },
      vendor::program(system, fake));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(seen, "Ação € ? ?? – fim");
  EXPECT_EQ(log.back(), "AutenticaDoc(\"A\xE7\xE3o \x80 ? ?? \x96 fim\",10000)");
}

}  // namespace
