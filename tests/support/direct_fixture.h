// quolt_autenticador's window on the in-memory backend, its settings files real files in a
// scratch folder taken as the executable's.
#pragma once

#include <gtest/gtest.h>

#include "core/startup.h"
#include "direct/frm_autenticar.h"
#include "platform/memory/memory_ui.h"
#include "tests/support/test_support.h"

namespace testing_support {

// The real services, with the option of failing the n-th settings write.
class FaultySystem : public SystemIn {
 public:
  using SystemIn::SystemIn;
  int failWrite = 0;  // 0: never
  int writes = 0;
  bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value) override {
    if (++writes == failWrite) return false;
    return SystemIn::writeProfileString(path, section, key, value);
  }
};

class DirectWindow : public ::testing::Test {
 public:
  DirectWindow() { app.setTitle(core::kApplicationTitle); }

  // Start-up's part: the host's text, then show and first activation.
  void start(const std::string& text = "ENTIDADE PROTOC:0001/2026 11/12/2026 10:45") {
    window.field("TxtAutentica").setText(text);
    app.run(dispatcher);
  }
  void writeSettings(const std::string& content) { writeFile(dir / "Ravivavizuru.ini", content); }
  void writeHostFile(const std::string& content) { writeFile(dir / "sis.ini", content); }
  std::string settings() { return readFile(dir / "Ravivavizuru.ini"); }
  std::string settingsPath() { return dir / "Ravivavizuru.ini"; }

  memory::PickList& port() { return window.list("ComboPorta"); }
  memory::PickList& model() { return window.list("ComboModeloImpressora"); }
  memory::PickList& roll() { return window.list("ComboBobina"); }
  memory::TextField& text() { return window.field("TxtAutentica"); }
  memory::TextField& share() { return window.field("edNomeCompartilhamento"); }

  std::vector<std::string> messages() {
    std::vector<std::string> texts;
    for (const auto& s : app.shown()) texts.push_back(s.text);
    return texts;
  }

  TempDir dir;
  // Port devices are looked up in the scratch folder too: no test ever reaches a real printer.
  FaultySystem system{dir.path().string(), dir.path().string() + "/"};
  memory::Application app;
  memory::Window& window = static_cast<memory::Window&>(app.createWindow(core::directDesign()));
  direct::TFrmAutenticar form{window, app, system};
  core::Dispatcher dispatcher{core::directDesign(), form, app};
};

}  // namespace testing_support
