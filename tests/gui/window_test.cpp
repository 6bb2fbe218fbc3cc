// The Qt window on the offscreen platform: what it renders from the design, where each key
// goes, the typing limit, the focus rules and the modal displays.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>

#include "core/startup.h"
#include "direct/impressao.h"
#include "direct/program.h"
#include "gui_support.h"
#include "platform/qt/qt_ui.h"
#include "tests/support/test_support.h"

using guitest::Call;
using guitest::Harness;
using guitest::SeenBox;

namespace {

std::string str(const QString& s) {
  return s.toStdString();
}

QLineEdit* edit(Harness& h, const std::string& name) {
  return qobject_cast<QLineEdit*>(h[name]);
}

// --- rendering ----------------------------------------------------------------------------

class Rendering : public ::testing::TestWithParam<const core::FormDesign*> {};

TEST_P(Rendering, EveryControlAsDesigned) {
  const core::FormDesign& design = *GetParam();
  Harness h(design);
  QWidget* form = h.window.widget();

  EXPECT_EQ(str(form->windowTitle()), design.caption);
  const Qt::WindowFlags flags = form->windowFlags();
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                        Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
  if (design.sizeIsClient) {
    EXPECT_EQ(form->size(), QSize(design.width, design.height));
  }

  for (const auto& c : design.controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = h[c.name];
    ASSERT_NE(w, nullptr);
    if (c.kind != core::ControlKind::TabSheet) {
      EXPECT_EQ(w->geometry(), QRect(c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height));
    }
    EXPECT_EQ(w->font().pixelSize(), c.font.pixels);
    EXPECT_EQ(w->font().bold(), c.font.bold);
    EXPECT_EQ(str(w->font().families().value(0)), c.font.face);

    switch (c.kind) {
      case core::ControlKind::PageControl: {
        auto* tabs = qobject_cast<QTabWidget*>(w);
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(tabs->tabBar()->focusPolicy(), Qt::NoFocus);
        EXPECT_EQ(tabs->currentIndex(), 0);
        break;
      }
      case core::ControlKind::TabSheet: {
        auto* tabs = qobject_cast<QTabWidget*>(h[c.parent]);
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(str(tabs->tabText(tabs->indexOf(w))), c.caption);  // blanks and all
        EXPECT_EQ(w->palette().color(QPalette::Window),
                  QColor(design.look.body.r, design.look.body.g, design.look.body.b));
        break;
      }
      case core::ControlKind::GroupBox:
        ASSERT_NE(qobject_cast<QGroupBox*>(w), nullptr);
        EXPECT_EQ(str(qobject_cast<QGroupBox*>(w)->title()), c.caption);
        break;
      case core::ControlKind::Label:
        ASSERT_NE(qobject_cast<QLabel*>(w), nullptr);
        EXPECT_EQ(str(qobject_cast<QLabel*>(w)->text()), c.caption);
        break;
      case core::ControlKind::Edit:
        ASSERT_NE(qobject_cast<QLineEdit*>(w), nullptr);
        EXPECT_EQ(str(qobject_cast<QLineEdit*>(w)->text()), c.caption);
        break;
      case core::ControlKind::Button: {
        auto* button = qobject_cast<QPushButton*>(w);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(str(button->text()), c.caption);
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(
            button->palette().color(QPalette::Button),
            QColor(design.look.buttonFace.r, design.look.buttonFace.g, design.look.buttonFace.b));
        EXPECT_TRUE(button->shortcut().isEmpty());  // Alt+letter is routed by page
        break;
      }
      case core::ControlKind::PickList: {
        auto* box = qobject_cast<QComboBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isEditable());
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_EQ(h.window.pickList(c.name).text(), "");
        ASSERT_EQ(box->count(), static_cast<int>(c.items.size()));
        for (int i = 0; i < box->count(); ++i) EXPECT_EQ(str(box->itemText(i)), c.items[i]);
        EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
        break;
      }
    }
  }
}

TEST_P(Rendering, CentredAndFocusedOnTheFirstControlWhenShown) {
  Harness h(*GetParam());
  ASSERT_TRUE(h.start());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = h.window.widget()->frameGeometry();
  EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 12);
  EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 24);
  EXPECT_EQ(QApplication::focusWidget(), h["TxtAutentica"]);
  EXPECT_EQ(h.form.calls, (std::vector<Call>{{"FormShow"}, {"Inicializa"}}));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, Rendering,
                         ::testing::Values(&core::directDesign(), &core::vendorDesign()));

// --- keys ---------------------------------------------------------------------------------

struct KeyCase {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  int vk;
  unsigned shift;
};

const KeyCase kFunctionKeys[] = {
    {Qt::Key_F5, Qt::NoModifier, 116, 0},
    {Qt::Key_F5, Qt::ShiftModifier, 116, core::kShift},
    {Qt::Key_F5, Qt::ControlModifier, 116, core::kCtrl},
    {Qt::Key_F5, Qt::AltModifier, 116, core::kAlt},
    {Qt::Key_F4, Qt::NoModifier, 115, 0},
    {Qt::Key_F4, Qt::AltModifier, 115, core::kAlt},
};

// Key preview is off: each key-down reaches the handler of the focused control alone, once,
// never the window's too.
TEST(Keys, ReachOnlyTheHandlerOfTheFocusedControl) {
  const std::pair<const char*, const char*> targets[] = {
      {"TxtAutentica", "TxtAutenticaKeyDown"},
      {"btnAutenticacao", "btnAutenticacaoKeyDown"},
      {"BitSair", "BitSairKeyDown"},
      {"", "FormKeyDown"},
  };
  Harness h;
  ASSERT_TRUE(h.start());
  for (const auto& [control, handler] : targets) {
    QWidget* target = *control ? h[control] : h.window.widget();
    for (const auto& k : kFunctionKeys) {
      SCOPED_TRACE(std::string(control) + " key " + std::to_string(k.vk) + " shift " +
                   std::to_string(k.shift));
      target->setFocus();
      ASSERT_EQ(QApplication::focusWidget(), target);
      h.form.calls.clear();
      h.press(k.key, k.modifiers);
      EXPECT_EQ(h.form.calls, (std::vector<Call>{{handler, k.vk, k.shift}}));
    }
  }
}

TEST(Keys, SettingsTabControlsRunNothing) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.press(Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_EQ(h.window.currentPage(), "TabSheet2");
  for (const char* control :
       {"ComboPorta", "edNomeCompartilhamento", "ComboModeloImpressora", "ComboBobina"}) {
    SCOPED_TRACE(control);
    h[control]->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), h[control]);
    h.form.calls.clear();
    for (const auto& k : kFunctionKeys) {
      h.press(k.key, k.modifiers);
      // F4 opens a list's drop-down, the list's own doing; close it again.
      if (auto* box = qobject_cast<QComboBox*>(h[control])) box->hidePopup();
      h[control]->setFocus();
    }
    EXPECT_EQ(h.form.calls, std::vector<Call>{});
  }
}

// A desk that keeps Alt+F4 for itself asks the window to close instead: that request acts as
// the Alt+F4 key-down on the focused control, and the window itself never just closes.
TEST(Keys, CloseRequestOfTheDeskActsAsAltF4) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.form.calls.clear();
  h.window.widget()->close();
  EXPECT_EQ(h.form.calls, (std::vector<Call>{{"TxtAutenticaKeyDown", 115, core::kAlt}}));
  EXPECT_TRUE(h.window.widget()->isVisible());

  h.window.showPage("TabSheet2");
  ASSERT_EQ(QApplication::focusWidget(), h["ComboPorta"]);
  h.form.calls.clear();
  h.window.widget()->close();
  EXPECT_EQ(h.form.calls, std::vector<Call>{});
  EXPECT_TRUE(h.window.widget()->isVisible());
}

TEST(Keys, AltDClicksAuthenticateOnlyOnItsPage) {
  Harness h;
  ASSERT_TRUE(h.start());
  const std::string text = edit(h, "TxtAutentica")->text().toStdString();

  h.press(Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(h.form.calls, (std::vector<Call>{{"FormShow"},
                                             {"Inicializa"},
                                             {"TxtAutenticaKeyDown", 'D', core::kAlt},
                                             {"btnAutenticacaoClick"}}));
  EXPECT_EQ(str(edit(h, "TxtAutentica")->text()), text);  // no "d" typed

  h.press(Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_EQ(h.window.currentPage(), "TabSheet2");
  const int port = h.window.pickList("ComboPorta").selectedIndex();
  h.form.calls.clear();
  h.press(Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(h.form.calls, std::vector<Call>{});
  EXPECT_EQ(h.window.pickList("ComboPorta").selectedIndex(), port);  // no search by letter
}

TEST(Keys, EnterClicksOnlyTheFocusedButton) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.press(Qt::Key_Return);
  EXPECT_EQ(h.form.count("btnAutenticacaoClick"), 0);
  EXPECT_EQ(h.form.count("BitSairClick"), 0);
  EXPECT_EQ(h.form.calls.back(), (Call{"TxtAutenticaKeyDown", 13, 0}));

  for (auto [button, click] : {std::pair{"btnAutenticacao", "btnAutenticacaoClick"},
                               std::pair{"BitSair", "BitSairClick"}}) {
    h[button]->setFocus();
    h.form.calls.clear();
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.form.count(click), 1) << button;
    h.press(Qt::Key_Space);
    EXPECT_EQ(h.form.count(click), 2) << button;
  }
}

// --- typing limit -------------------------------------------------------------------------

TEST(TypingLimit, LongerStartTextIsShownWholeAndCanOnlyShrink) {
  Harness h;
  const std::string sixty = "CARTORIO DO 1 OFICIO PROTOC: 123456789 01/02/2024 10:30:00 X";
  ASSERT_EQ(sixty.size(), 60u);
  h.window.textField("TxtAutentica").setText(sixty);
  ASSERT_TRUE(h.start());
  QLineEdit* field = edit(h, "TxtAutentica");
  EXPECT_EQ(h.window.textField("TxtAutentica").text(), sixty);

  field->end(false);
  QTest::keyClicks(field, "Y");
  EXPECT_EQ(str(field->text()), sixty);

  h.press(Qt::Key_Backspace);
  EXPECT_EQ(field->text().size(), 59);
  QTest::keyClicks(field, "Y");
  EXPECT_EQ(field->text().size(), 59);

  // Typing over a selection still inserts: refused while the result passes 48.
  field->setSelection(0, 2);
  QTest::keyClicks(field, "Z");
  EXPECT_EQ(str(field->text()), sixty.substr(0, 59));

  field->end(false);
  for (int i = 0; i < 12; ++i) h.press(Qt::Key_Backspace);
  ASSERT_EQ(field->text().size(), 47);
  QTest::keyClicks(field, "AB");
  EXPECT_EQ(str(field->text()), sixty.substr(0, 47) + "A");
}

TEST(TypingLimit, EmptyFieldTakesFortyEightCharacters) {
  Harness h;
  ASSERT_TRUE(h.start());
  QTest::keyClicks(edit(h, "TxtAutentica"), QString(50, QChar(u'Ç')));
  EXPECT_EQ(edit(h, "TxtAutentica")->text(), QString(48, QChar(u'Ç')));

  // The share name field has no limit.
  h.window.textField("edNomeCompartilhamento").setFocus();
  QTest::keyClicks(edit(h, "edNomeCompartilhamento"), QString(60, 'S'));
  EXPECT_EQ(edit(h, "edNomeCompartilhamento")->text().size(), 60);
}

// --- focus --------------------------------------------------------------------------------

TEST(Focus, LockedTextFieldStartsOnTheAuthenticateButton) {
  Harness h;
  h.form.actions["FormShow"] = [&] { h.window.textField("TxtAutentica").setEnabled(false); };
  ASSERT_TRUE(h.start());
  EXPECT_EQ(QApplication::focusWidget(), h["btnAutenticacao"]);
  h.press(Qt::Key_F5);
  EXPECT_EQ(h.form.calls.back(), (Call{"btnAutenticacaoKeyDown", 116, 0}));
}

TEST(Focus, TabSwitchGoesToTheFirstControlOfTheNewPage) {
  Harness h;
  ASSERT_TRUE(h.start());
  h["BitSair"]->setFocus();
  h.press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), h["ComboPorta"]);
  h.press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(h.window.currentPage(), "TabSheet1");
  EXPECT_EQ(QApplication::focusWidget(), h["TxtAutentica"]);  // not back to "Sair"

  // A click on the tab works alike.
  auto* tabs = qobject_cast<QTabWidget*>(h["RzPageControl1"]);
  QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
  EXPECT_EQ(QApplication::focusWidget(), h["ComboPorta"]);
}

TEST(Focus, SettingFocusOnAFieldShowsItsPage) {
  Harness h;
  ASSERT_TRUE(h.start());
  h.window.textField("edNomeCompartilhamento").setFocus();
  EXPECT_EQ(h.window.currentPage(), "TabSheet2");
  EXPECT_EQ(QApplication::focusWidget(), h["edNomeCompartilhamento"]);
}

// --- lists --------------------------------------------------------------------------------

TEST(Lists, OnlyTheOperatorsChangesFire) {
  Harness h;
  ASSERT_TRUE(h.start());
  auto& port = h.window.pickList("ComboPorta");
  port.setSelectedIndex(7);
  EXPECT_EQ(port.text(), "USB");
  port.setSelectedIndex(10);  // names no item
  EXPECT_EQ(port.selectedIndex(), -1);
  EXPECT_EQ(port.text(), "");
  EXPECT_EQ(h.form.count("ComboPortaChange"), 0);

  port.setSelectedIndex(0);
  h.window.showPage("TabSheet2");
  h["ComboPorta"]->setFocus();
  h.press(Qt::Key_Down);
  h.press(Qt::Key_Down);
  EXPECT_EQ(port.text(), "COM2");
  EXPECT_EQ(h.form.count("ComboPortaChange"), 2);  // every step is a change

  h["ComboBobina"]->setFocus();
  h.window.pickList("ComboBobina").setSelectedIndex(1);
  h.press(Qt::Key_Up);
  EXPECT_EQ(h.window.pickList("ComboBobina").text(), "SIM");
  EXPECT_EQ(h.form.count("ComboPortaChange"), 3);
}

// --- activation ---------------------------------------------------------------------------

TEST(Activation, RunsOnceWhateverTakesTheFocusAway) {
  Harness h;
  h.form.actions["btnAutenticacaoClick"] = [&] { h.app.showMessage("Selecione uma Porta!"); };
  ASSERT_TRUE(h.start());
  EXPECT_EQ(h.form.count("Inicializa"), 1);

  {
    guitest::BoxWatcher box(h.window.widget(), Qt::Key_Return);
    QTest::mouseClick(h["btnAutenticacao"], Qt::LeftButton);
    ASSERT_EQ(box.seen().size(), 1u);
  }
  ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.widget(), 2000));

  QWidget other;  // another program's window, then back
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other, 2000));
  h.window.widget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.widget(), 2000));

  EXPECT_EQ(h.form.count("Inicializa"), 1);
}

// --- message displays ---------------------------------------------------------------------

TEST(Displays, ModalWithExactCaptionsTextsAndIcons) {
  struct Expected {
    std::string caption, text;
    QMessageBox::Icon icon;
  };
  struct Case {
    std::function<void(qtui::Application&)> show;
    Qt::Key close;
    Expected expected;
  };
  const std::string title = "Sistema de Autenticação";
  const Case cases[] = {
      {[](auto& app) { app.showMessage("Selecione uma Porta!"); },
       Qt::Key_Return,
       {title, "Selecione uma Porta!", QMessageBox::NoIcon}},
      {[](auto& app) { app.showMessage(direct::kUsbShareMessage); },
       Qt::Key_Escape,
       {title,
        "Para imprimir na ZEBRA GC420d via USB é obrigatório informar o compartilhamento da "
        "impressora!\nEx.: \\\\ESTACAO01\\TLP2844)",
        QMessageBox::NoIcon}},
      {[](auto& app) { app.messageDlg("Erro na abertura da porta", ui::DialogType::Error); },
       Qt::Key_Escape,
       {"Error", "Erro na abertura da porta", QMessageBox::Critical}},
      {[](auto& app) { app.messageDlg("Impressão concluída", ui::DialogType::Information); },
       Qt::Key_Return,
       {"Information", "Impressão concluída", QMessageBox::Information}},
      {[](auto& app) { app.showErrorBox("File access denied."); },
       Qt::Key_Return,
       {title, "File access denied.", QMessageBox::Critical}},
  };

  Harness h;
  ASSERT_TRUE(h.start());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected.text);
    // The recording form runs this where the real one runs the Authenticate command.
    h.form.actions["TxtAutenticaKeyDown"] = [&] { c.show(h.app); };
    guitest::BoxWatcher box(h.window.widget(), c.close);
    h.press(Qt::Key_F5);  // the box opens inside the handler; the key returns once it closed
    const auto& seen = box.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, c.expected.caption);
    EXPECT_EQ(seen[0].text, c.expected.text);
    EXPECT_EQ(seen[0].icon, c.expected.icon);
    EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(seen[0].applicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(h.window.widget(), 2000));
    EXPECT_EQ(QApplication::focusWidget(), h["TxtAutentica"]);
  }
}

TEST(Displays, ExitEndsTheLoopAfterTheHandlerReturns) {
  Harness h;
  std::vector<std::string> order;
  h.form.actions["BitSairClick"] = [&] {
    h.app.terminate();
    order.push_back("handler went on");
  };
  QTimer::singleShot(0, [&] {
    if (QTest::qWaitForWindowActive(h.window.widget(), 2000)) h.press(Qt::Key_F4);
  });
  // The recording form routes F4 to its handler only; the real handler clicks "Sair".
  h.form.actions["TxtAutenticaKeyDown"] = [&] { h.dispatcher.click("BitSair"); };
  h.app.run(h.dispatcher);
  EXPECT_TRUE(h.app.terminateRequested());
  EXPECT_EQ(order, std::vector<std::string>{"handler went on"});
}

// --- the real program ---------------------------------------------------------------------

// quolt_autenticador through its own start-up: a text with too few words shows the error box
// before the window, with the caption and lock step already done; F4 then ends the run.
TEST(Program, ErrorBoxOfTheShowComesBeforeTheWindow) {
  testing_support::TempDir folder;
  testing_support::SystemIn system(folder.path().string());
  const auto program = direct::program(system);

  std::unique_ptr<guitest::BoxWatcher> box;
  qtui::Application* app = nullptr;
  QWidget* mainWindow = nullptr;
  bool windowShownAfterBox = false;

  // Once the box is closed, the window opens and activates; F4 in the text field ends it.
  std::function<void()> whenShown = [&] {
    if (mainWindow == nullptr || !mainWindow->isVisible()) {
      QTimer::singleShot(10, whenShown);
      return;
    }
    windowShownAfterBox = !box->seen().empty();
    if (QTest::qWaitForWindowActive(mainWindow, 2000))
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
  };

  const int code = core::startUp(
      {"quolt_autenticador", "OK", "PROTOC: 123"},
      [&]() -> std::unique_ptr<ui::Application> {
        auto a = std::make_unique<qtui::Application>();
        app = a.get();
        QTimer::singleShot(0, [&] {
          mainWindow = app->window()->widget();
          box = std::make_unique<guitest::BoxWatcher>(mainWindow, Qt::Key_Return);
          whenShown();
        });
        return a;
      },
      program);

  EXPECT_EQ(code, 0);
  ASSERT_NE(box, nullptr);
  const auto& seen = box->seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Sistema de Autenticação");
  EXPECT_EQ(seen[0].text, "List index out of bounds (1)");
  EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(seen[0].mainWindowVisible);
  EXPECT_EQ(seen[0].mainCaption, "Autenticar Protocolo [versão 3.21.14.31] ");
  EXPECT_TRUE(windowShownAfterBox);
}

}  // namespace
