// quolt_autenticador_dll's window bound to the real stand-in library at load time: the calls as
// the library's journal records them, the bytes that reach the port, and a program that cannot
// start without the library.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/form.h"
#include "core/startup.h"
#include "platform/memory/memory_ui.h"
#include "tests/unit/mp2032_fixture.h"
#include "vendor/frm_autenticar.h"

namespace {

using memory::Shown;
using testing_support::readFile;

class VendorWithStandIn : public StandInTest {
 protected:
  VendorWithStandIn() {
    vendor::strPorta.clear();
    vendor::intRetorno = 0;
    app.setTitle(core::kApplicationTitle);
  }

  void start(const std::string& text) {
    auto& window = app.createWindow(core::vendorDesign());
    form = std::make_unique<vendor::TFrmAutenticar>(window, app, system, vendor::linkedLibrary());
    window.textField("TxtAutentica").setText(text);
    dispatcher = std::make_unique<core::Dispatcher>(core::vendorDesign(), *form, app);
    app.run(*dispatcher);
  }

  void pressF5() {
    app.switchTab("TabSheet1");
    app.pressKey(core::kKeyF5);
  }

  testing_support::SystemIn system{dir.path().string()};
  memory::Application app;
  std::unique_ptr<vendor::TFrmAutenticar> form;
  std::unique_ptr<core::Dispatcher> dispatcher;
};

TEST_F(VendorWithStandIn, ActivationPortChangeAndAuthenticationReachTheLibraryInOrder) {
  start("Autenticação nº 5 – ok");
  EXPECT_EQ(journal(), (std::vector<std::string>{"ConfiguraModeloImpressora(1) -> 1",
                                                 "ConfiguraModeloImpressora(1) -> 1"}));

  app.select("ComboBox1", 3);
  EXPECT_EQ(journal(2),
            (std::vector<std::string>{"FechaPorta() -> 1", "IniciaPorta(\"USB\") -> 1"}));
  EXPECT_EQ(readFile(dir / "USB"), "");

  pressF5();
  EXPECT_EQ(journal(4),
            (std::vector<std::string>{
                "FechaPorta() -> 1", "IniciaPorta(\"USB\") -> 1", "DocumentInserted() -> 0",
                "AutenticaDoc(\"Autentica\\xE7\\xE3o n\\xBA 5 \\x96 ok\", 10000) -> 1"}));
  EXPECT_EQ(readFile(dir / "USB"), "Autentica\xE7\xE3o n\xBA 5 \x96 ok\r\n");
  EXPECT_EQ(system.readProfileString(dir / "Ravivavizuru.ini", "QUOLT", "PORTA"), "3");
  EXPECT_TRUE(app.shown().empty());
}

TEST_F(VendorWithStandIn, ScenarioResultsReachTheOperator) {
  scenario(
      "ConfiguraModeloImpressora=-2\n"
      "IniciaPorta=0,real,0\n"
      "DocumentInserted=real,-2,real\n");
  const Shown invalid{Shown::Kind::Dialog, "Error",
                      "Parâmetro inválido na função \"ConfiguraModeloImpressora.\""};
  const Shown openFailed{Shown::Kind::Dialog, "Error",
                         "Problemas ao abrir a porta de Comunicação."};

  start("PROTOC: 9");
  EXPECT_EQ(app.shown(), (std::vector<Shown>{invalid, invalid}));

  app.clearShown();
  app.select("ComboBox1", 3);
  EXPECT_EQ(app.shown(), std::vector<Shown>{openFailed});
  EXPECT_FALSE(std::filesystem::exists(dir / "USB"));

  app.clearShown();
  pressF5();  // opens for real and prints
  EXPECT_TRUE(app.shown().empty());
  EXPECT_EQ(readFile(dir / "USB"), "PROTOC: 9\r\n");

  pressF5();  // no document
  EXPECT_EQ(app.shown(),
            (std::vector<Shown>{openFailed,
                                {Shown::Kind::Dialog, "Information", "Documento não inserido."}}));

  app.clearShown();
  const std::size_t before = journal().size();
  pressF5();  // the port stays shut, so the print itself fails
  EXPECT_EQ(journal(before).back(), "AutenticaDoc(\"PROTOC: 9\", 10000) -> 0");
  EXPECT_EQ(app.shown(),
            (std::vector<Shown>{openFailed,
                                {Shown::Kind::Dialog, "Error",
                                 "Problemas na autenticação do documento.\nPossíveis causas: "
                                 "Documento não inserido, impressora desligada, off-line ou sem "
                                 "papel"}}));
  EXPECT_EQ(readFile(dir / "USB"), "PROTOC: 9\r\n");
}

struct Outcome {
  int exitCode;
  std::string err;
};

Outcome runIn(const std::string& folder, const std::string& program, const std::string& args,
              const std::string& errFile) {
  const std::string command =
      "cd '" + folder + "' && '" + program + "' " + args + " >/dev/null 2>'" + errFile + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errFile)};
}

using VendorStart = StandInTest;

TEST_F(VendorStart, ProgramDoesNotStartWithoutTheLibraryBesideIt) {
  std::vector<std::string> programs{VENDOR_HEADLESS};
#ifdef VENDOR_PROGRAM
  programs.push_back(VENDOR_PROGRAM);
#endif
  for (const auto& built : programs) {
    SCOPED_TRACE(built);
    testing_support::TempDir install;
    const std::string program = install / std::filesystem::path(built).filename().string();
    std::filesystem::copy_file(built, program);

    Outcome alone = runIn("/", program, "KO", dir / "err.txt");
    EXPECT_NE(alone.exitCode, 0);
    EXPECT_NE(alone.err.find("libMp2032.so"), std::string::npos) << alone.err;

    // Beside it, the library is found from any current folder.
    std::filesystem::copy_file(MP2032_LIBRARY, install / "libMp2032.so");
    Outcome beside = runIn("/", program, "KO", dir / "err.txt");
    EXPECT_EQ(beside.exitCode, 0);
    EXPECT_EQ(beside.err, "");
  }
}

TEST_F(VendorStart, StartedProgramConfiguresTheModelThroughTheLibraryBesideIt) {
  testing_support::TempDir install;
  const std::string program = install / "quolt_autenticador_dll";
  std::filesystem::copy_file(VENDOR_HEADLESS, program);
  std::filesystem::copy_file(MP2032_LIBRARY, install / "libMp2032.so");

  Outcome run = runIn(dir.path().string(), program, "OK 'PROTOC: 1'", dir / "err.txt");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(journal(), (std::vector<std::string>{"ConfiguraModeloImpressora(1) -> 1",
                                                 "ConfiguraModeloImpressora(1) -> 1"}));
  EXPECT_EQ(readFile(install / "Ravivavizuru.ini"), "[QUOLT]\r\nMODELO=0\r\nPORTA=0\r\n");
}

}  // namespace
