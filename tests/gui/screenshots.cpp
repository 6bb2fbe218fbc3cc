// Renders both programs' windows, both tabs, into PNG files:
//   window_screenshots FOLDER
// quolt_autenticador runs with its own logic (settings folder made for the run, port "USB");
// quolt_autenticador_dll's design is shown with its lists set as its defaults would set them.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <string>

#include "direct/program.h"
#include "gui_support.h"
#include "tests/support/test_support.h"

namespace {

const char kText[] = "CARTÓRIO CENTRAL PROTOC: 102938 14/03/2024 09:41";

bool save(qtui::Window& window, const std::string& page, const std::string& file) {
  window.showPage(page);
  window.focusFirstOf(page);
  QApplication::processEvents();
  const bool ok = window.widget()->grab().save(QString::fromStdString(file));
  std::printf("%s %s\n", ok ? "wrote" : "could not write", file.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screenshots FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  const std::string folder = argv[1];
  bool ok = true;

  {
    testing_support::TempDir settings;
    testing_support::writeFile(
        settings / "Ravivavizuru.ini",
        "[QUOLT]\r\nMODELO=0\r\nPORTA=7\r\nBOBINA=1\r\nCOMPARTILHAMENTO=\r\n");
    testing_support::SystemIn system(settings.path().string());
    const auto program = direct::program(system);
    qtui::Application app;
    app.setTitle(core::kApplicationTitle);
    auto& window = static_cast<qtui::Window&>(app.createWindow(program.design));
    auto form = program.createForm(window, app);
    window.textField("TxtAutentica").setText(kText);
    core::Dispatcher dispatcher(program.design, *form, app);
    app.present(dispatcher);
    ok &= QTest::qWaitForWindowActive(window.widget(), 2000);
    ok &= save(window, "TabSheet1", folder + "/quolt_autenticador-autenticacao.png");
    ok &= save(window, "TabSheet2", folder + "/quolt_autenticador-configuracoes.png");
  }
  {
    guitest::Harness h(core::vendorDesign());
    h.window.textField("TxtAutentica").setText(kText);
    h.window.pickList("ComboBox1").setSelectedIndex(0);
    h.window.pickList("ComboModeloImpressora").setSelectedIndex(0);
    ok &= h.start();
    ok &= save(h.window, "TabSheet1", folder + "/quolt_autenticador_dll-autenticacao.png");
    ok &= save(h.window, "TabSheet2", folder + "/quolt_autenticador_dll-configuracoes.png");
  }
  return ok ? 0 : 1;
}
