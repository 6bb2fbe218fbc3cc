// The one dispatcher: every event reaches its handler through it, and an error raised inside a
// handler ends that handler only and shows in the error box.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/form.h"
#include "platform/memory/memory_ui.h"

namespace {

using memory::Shown;

TEST(ErrorBox, FullStopRule) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"File access denied", "File access denied."},
      {"I/O error 105", "I/O error 105."},
      {"List index out of bounds (2)", "List index out of bounds (2)"},
      {"Selecione!", "Selecione!"},
      {"ends in blank ", "ends in blank "},
      {"ends in stop.", "ends in stop."},
      {"slash/", "slash/."},     // 47: above the full stop
      {"minus-", "minus-"},      // 45
      {"colon:", "colon:."},     // 58
      {"NÃO", "NÃO."},           // a letter beyond ASCII
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(core::errorBoxText(c.message), c.shown) << c.message;
}

// A form whose handlers record their steps and can fail at a chosen step.
class StepForm : public core::Form {
 public:
  std::vector<std::string> steps;
  std::string failAt;

  StepForm() {
    on("FormShow", [this](core::KeyArgs*) { step("show"); });
    on("Inicializa", [this](core::KeyArgs*) {
      step("load");
      step("rule");
    });
    on("FormKeyDown", [this](core::KeyArgs* k) {
      step("key " + std::to_string(k->key) + "/" + std::to_string(k->shift));
      invoke("btnAutenticacaoClick", nullptr);  // a handler run by another ends with it
      step("after command");
    });
    on("btnAutenticacaoClick", [this](core::KeyArgs*) {
      step("command");
      step("print");
    });
    on("ComboPortaChange", [this](core::KeyArgs*) { throw std::bad_alloc(); });
  }

 private:
  void step(const std::string& name) {
    if (name == failAt) throw core::EInOutError(5, "File access denied");
    steps.push_back(name);
  }
};

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() { app.setTitle("Sistema de Autenticação"); }
  memory::Application app;
  StepForm form;
  core::Dispatcher dispatcher{core::directDesign(), form, app};
};

TEST_F(DispatcherTest, ShowAndActivationRunOnce) {
  dispatcher.show();
  dispatcher.show();
  dispatcher.activate();
  dispatcher.activate();  // back from a message box or another program
  EXPECT_EQ(form.steps, (std::vector<std::string>{"show", "load", "rule"}));
}

TEST_F(DispatcherTest, AnErrorEndsTheHandlerAndEveryHandlerThatRanIt) {
  form.failAt = "print";
  dispatcher.keyDown("", 116, core::kShift);
  EXPECT_EQ(form.steps, (std::vector<std::string>{"key 116/1", "command"}));
  EXPECT_EQ(app.shown(), (std::vector<Shown>{{Shown::Kind::ErrorBox, "Sistema de Autenticação",
                                              "File access denied."}}));
  // The loop goes on: the next event runs whole.
  form.failAt.clear();
  form.steps.clear();
  dispatcher.click("btnAutenticacao");
  EXPECT_EQ(form.steps, (std::vector<std::string>{"command", "print"}));
}

TEST_F(DispatcherTest, AFailingActivationIsNotRetried) {
  form.failAt = "rule";
  dispatcher.activate();
  dispatcher.activate();
  EXPECT_EQ(form.steps, (std::vector<std::string>{"load"}));
  EXPECT_EQ(app.shown().size(), 1u);
}

TEST_F(DispatcherTest, EvenOtherErrorsReachTheErrorBoxAndNotTheDesk) {
  dispatcher.change("ComboBobina");
  ASSERT_EQ(app.shown().size(), 1u);
  EXPECT_EQ(app.shown()[0].kind, Shown::Kind::ErrorBox);
}

TEST_F(DispatcherTest, ControlsWithoutAHandlerRunNothing) {
  dispatcher.keyDown("ComboPorta", 116, 0);
  dispatcher.keyDown("edNomeCompartilhamento", 115, 0);
  EXPECT_TRUE(form.steps.empty());
  EXPECT_TRUE(app.shown().empty());
}

}  // namespace
