// What the Qt window tests share: a form that records which handler ran with which key, a
// window on the offscreen platform driven through the real Qt backend, and the means to find,
// read and close the modal box a handler opens.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/design.h"
#include "core/form.h"
#include "platform/qt/qt_ui.h"

namespace guitest {

struct Call {
  std::string handler;
  int key = 0;  // 0 for handlers without a key
  unsigned shift = 0;
  bool operator==(const Call&) const = default;
};

// Answers every handler the design names by recording it; a test may add what a handler
// does besides (show a box, disable a field, end the program).
class RecordingForm : public core::Form {
 public:
  explicit RecordingForm(const core::FormDesign& design) {
    std::vector<std::string> names{design.onShow, design.onActivate, design.onKeyDown};
    for (const auto& c : design.controls)
      for (const auto* n : {&c.events.onClick, &c.events.onChange, &c.events.onKeyDown})
        names.push_back(*n);
    for (const auto& name : names)
      if (!name.empty())
        on(name, [this, name](core::KeyArgs* args) {
          Call call{name, args ? args->key : 0, args ? args->shift : 0u};
          // Modifier keys come down on their own too; the handlers look past them.
          if (call.key != 16 && call.key != 17 && call.key != 18) calls.push_back(call);
          if (auto it = actions.find(name); it != actions.end()) it->second();
        });
  }
  std::vector<Call> calls;
  std::map<std::string, std::function<void()>> actions;
  int count(const std::string& handler) const {
    int n = 0;
    for (const auto& c : calls) n += c.handler == handler;
    return n;
  }
};

// A design rendered by the Qt backend, its events going to a recording form.
struct Harness {
  explicit Harness(const core::FormDesign& d = core::directDesign())
      : design(d),
        window(static_cast<qtui::Window&>(app.createWindow(d))),
        form(d),
        dispatcher(d, form, app) {
    app.setTitle("Sistema de Autenticação");
  }
  // Shows the window as the event loop does and waits until it is active.
  bool start() {
    app.present(dispatcher);
    return QTest::qWaitForWindowActive(window.widget(), 2000);
  }
  QWidget* operator[](const std::string& name) const { return window.control(name); }
  // Presses a key on the control holding the focus, as the keyboard does.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : window.widget(), key, modifiers);
  }

  const core::FormDesign& design;
  qtui::Application app;
  qtui::Window& window;
  RecordingForm form;
  core::Dispatcher dispatcher;
};

struct SeenBox {
  std::string caption;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<std::string> buttons;
  bool applicationModal = false;
  bool mainWindowVisible = false;
  std::string mainCaption;
};

// Watches for the next modal box (which a handler opens inside its own nested loop), records
// it and closes it with `closeKey`. Stops watching when it goes out of scope.
class BoxWatcher {
 public:
  BoxWatcher(QWidget* mainWindow, Qt::Key closeKey) : state_(std::make_shared<State>()) {
    state_->mainWindow = mainWindow;
    state_->closeKey = closeKey;
    poll(state_);
  }
  ~BoxWatcher() { state_->stopped = true; }
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  const std::vector<SeenBox>& seen() const { return state_->seen; }

 private:
  struct State {
    QPointer<QWidget> mainWindow;
    Qt::Key closeKey = Qt::Key_Return;
    std::vector<SeenBox> seen;
    bool stopped = false;
  };

  static void poll(std::shared_ptr<State> state) {
    QTimer::singleShot(5, [state] {
      if (state->stopped || !state->seen.empty()) return;
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) {
        poll(state);
        return;
      }
      SeenBox s;
      s.caption = box->windowTitle().toStdString();
      s.text = box->text().toStdString();
      s.icon = box->icon();
      for (auto* b : box->buttons()) s.buttons.push_back(b->text().remove('&').toStdString());
      s.applicationModal = box->windowModality() == Qt::ApplicationModal;
      if (state->mainWindow) {
        s.mainWindowVisible = state->mainWindow->isVisible();
        s.mainCaption = state->mainWindow->windowTitle().toStdString();
      }
      state->seen.push_back(s);
      QTest::keyClick(box, state->closeKey);
    });
  }

  std::shared_ptr<State> state_;
};

}  // namespace guitest
