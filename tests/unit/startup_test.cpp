// Start-up: the gate before any window system, the title, the host's text, exit code 0.
#include <gtest/gtest.h>

#include "core/startup.h"
#include "direct/program.h"
#include "platform/memory/memory_ui.h"
#include "tests/support/test_support.h"

namespace {

// Hands start-up an application the test can still look at afterwards.
class Forwarding : public ui::Application {
 public:
  explicit Forwarding(memory::Application& real) : real_(real) {}
  void setTitle(const std::string& t) override { real_.setTitle(t); }
  std::string title() const override { return real_.title(); }
  void showMessage(const std::string& t) override { real_.showMessage(t); }
  void messageDlg(const std::string& t, ui::DialogType d) override { real_.messageDlg(t, d); }
  void showErrorBox(const std::string& t) override { real_.showErrorBox(t); }
  ui::Window& createWindow(const core::FormDesign& d) override { return real_.createWindow(d); }
  void run(core::Dispatcher& d) override { real_.run(d); }
  void terminate() override { real_.terminate(); }

 private:
  memory::Application& real_;
};

struct Outcome {
  bool started = false;
  std::string title, text, caption;
  int exitCode = -1;
};

Outcome startWith(const std::vector<std::string>& args,
              const std::function<std::string(const std::string&)>& textOnEntry = nullptr) {
  testing_support::TempDir dir;
  testing_support::SystemIn system(dir.path().string());
  memory::Application app;
  Outcome run;
  app.script = [&](memory::Application& a) {
    run.text = a.window().field("TxtAutentica").text();
    run.caption = a.window().caption();
    a.pressKey(core::kKeyF4);
  };
  auto program = direct::program(system);
  program.textOnEntry = textOnEntry;
  run.exitCode = core::startUp(
      args,
      [&] {
        run.started = true;
        return std::make_unique<Forwarding>(app);
      },
      program);
  run.title = app.title();
  return run;
}

TEST(StartUp, TheGateDecidesBeforeAnyWindowSystemStarts) {
  const struct {
    std::vector<std::string> args;
    bool opens;
  } cases[] = {{{"p", "OK", "X PROTOC:1 2 3"}, true}, {{"p", "ok"}, true},   {{"p", "oK", "t"}, true},
               {{"p", "OKAY", "t"}, false},           {{"p", "KO"}, false},  {{"p", "O K"}, false},
               {{"p", "OK "}, false},                 {{"p"}, false},        {{}, false}};
  for (const auto& c : cases) {
    Outcome run = startWith(c.args);
    EXPECT_EQ(run.started, c.opens) << (c.args.size() > 1 ? c.args[1] : "(none)");
    EXPECT_EQ(run.exitCode, 0);
  }
}

TEST(StartUp, TitleWindowAndTheHostsTextWhole) {
  const std::string sixty(60, 'A');
  Outcome run = startWith({"p", "OK", "  " + sixty + "\t ", "ignored"});
  EXPECT_EQ(run.title, "Sistema de Autenticação");
  EXPECT_EQ(run.text, "  " + sixty + "\t ");
  EXPECT_EQ(run.caption, "Autenticar Protocolo [versão 3.21.14.31] ");
  EXPECT_EQ(run.exitCode, 0);

  EXPECT_EQ(startWith({"p", "OK"}).text, "");
}

TEST(StartUp, TheEntryConversionReachesTheField) {
  Outcome run = startWith({"p", "OK", "a"}, [](const std::string& t) { return t + "?"; });
  EXPECT_EQ(run.text, "a?");
}

}  // namespace
