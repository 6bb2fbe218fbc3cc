// The Qt 6 Widgets backend: renders any window design from its data and hands every event of
// the window to the core's dispatcher, with the routing rules of the original window (key
// preview off, accelerators only on the page shown, list changes by the operator only).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/design.h"
#include "core/form.h"
#include "platform/ui.h"

class QApplication;
class QComboBox;
class QEventLoop;
class QLineEdit;
class QTabWidget;
class QWidget;

namespace qtui {

class FormWidget;
class KeyRouter;
class Window;

class PickList : public ui::PickList {
 public:
  explicit PickList(QComboBox* box) : box_(box) {}
  int selectedIndex() const override;
  void setSelectedIndex(int index) override;
  std::string text() const override;
  bool enabled() const override;
  void setEnabled(bool enabled) override;

 private:
  QComboBox* box_;
};

class TextField : public ui::TextField {
 public:
  TextField(Window& window, QLineEdit* edit) : window_(window), edit_(edit) {}
  std::string text() const override;
  void setText(const std::string& text) override;
  bool enabled() const override;
  void setEnabled(bool enabled) override;
  void setFocus() override;

 private:
  Window& window_;
  QLineEdit* edit_;
};

class Window : public ui::Window {
 public:
  explicit Window(const core::FormDesign& design);
  ~Window() override;

  ui::PickList& pickList(std::string_view name) override;
  ui::TextField& textField(std::string_view name) override;
  std::string caption() const override { return caption_; }
  void setCaption(const std::string& caption) override;

  // From here on the window's events reach `dispatcher`.
  void attach(core::Dispatcher& dispatcher);
  // Centred on the screen, the focus on the first control of the page shown, then visible.
  void present();

  const core::FormDesign& design() const { return design_; }
  QWidget* widget() const;
  // The widget of a control by its design name; null when the design has none.
  QWidget* control(std::string_view name) const;
  // The design name of a control's widget; empty for anything else.
  std::string nameOf(const QWidget* widget) const;
  // The tab sheet shown.
  std::string currentPage() const;
  void showPage(const std::string& page);
  // Gives the focus to the first control of `page` that can take it, if any.
  void focusFirstOf(const std::string& page);

 private:
  friend class KeyRouter;
  void build();
  void routeChange(const std::string& name);
  void pageSwitched(int index);
  void turnPage(int step);
  // Hands a key-down of `target` (a control, or the window itself) to the dispatcher; false
  // when the widget is none of this window's.
  bool keyDown(QWidget* target, std::uint16_t key, unsigned shift);
  // Alt plus the accelerator of a button on the page shown clicks it.
  bool clickAccelerator(char key);

  const core::FormDesign& design_;
  std::string caption_;
  std::unique_ptr<FormWidget> form_;
  std::unique_ptr<KeyRouter> router_;
  std::map<std::string, QWidget*, std::less<>> widgets_;
  std::map<std::string, std::unique_ptr<PickList>, std::less<>> lists_;
  std::map<std::string, std::unique_ptr<TextField>, std::less<>> fields_;
  QTabWidget* pages_ = nullptr;
  core::Dispatcher* dispatcher_ = nullptr;
};

class Application : public ui::Application {
 public:
  // Starts Qt unless a QApplication is already running (the tests start their own).
  Application();
  ~Application() override;

  void setTitle(const std::string& title) override { title_ = title; }
  std::string title() const override { return title_; }
  void showMessage(const std::string& text) override;
  void messageDlg(const std::string& text, ui::DialogType type) override;
  void showErrorBox(const std::string& text) override;
  ui::Window& createWindow(const core::FormDesign& design) override;
  void run(core::Dispatcher& dispatcher) override;
  void terminate() override;

  // What `run` does before its loop: the show event while the window is still invisible,
  // then the window centred, focused and shown. Activation follows from the window system.
  void present(core::Dispatcher& dispatcher);
  bool terminateRequested() const { return terminated_; }
  Window* window() const { return window_.get(); }

 private:
  void showBox(int icon, const std::string& caption, const std::string& text);

  int argc_ = 1;
  char* argv_[2];
  std::unique_ptr<QApplication> qt_;  // declared before the window: it outlives it
  std::unique_ptr<Window> window_;
  std::string title_;
  QEventLoop* loop_ = nullptr;
  bool terminated_ = false;
};

// The Windows virtual-key code of a Qt key, 0 for keys the handlers cannot know.
std::uint16_t virtualKey(int qtKey);

// Message text as shown: CR, alone or before LF, breaks the line as it does on Windows.
std::string displayText(const std::string& text);

}  // namespace qtui
