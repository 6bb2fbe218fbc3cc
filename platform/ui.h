// The window as the handlers see it: small passive controls, the message displays and the
// application object. Each UI backend (Win32, Qt, in-memory) implements these; the logic in
// core/, direct/ and vendor/ never sees a toolkit type.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace core {
struct FormDesign;
class Dispatcher;
}  // namespace core

namespace ui {

// A drop-down list the operator can only pick from.
class PickList {
 public:
  virtual ~PickList() = default;
  // Zero-based; -1 when nothing is selected.
  virtual int selectedIndex() const = 0;
  // An index naming no item clears the selection. Never fires the change event.
  virtual void setSelectedIndex(int index) = 0;
  // The selected item's text, empty when nothing is selected.
  virtual std::string text() const = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
};

// A one-line edit field. Text is UTF-8.
class TextField {
 public:
  virtual ~TextField() = default;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  // Moves the input focus here, bringing the field's page into view first.
  virtual void setFocus() = 0;
};

// One rendered form. Controls are found by their design names.
class Window {
 public:
  virtual ~Window() = default;
  virtual PickList& pickList(std::string_view name) = 0;
  virtual TextField& textField(std::string_view name) = 0;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
};

// Finds a control of a rendered window by its design name, for the backends' Window. A name
// the design does not have is a fault of the program, never of the operator.
template <typename Controls>
auto& controlNamed(Controls& controls, std::string_view name, const char* kind) {
  auto it = controls.find(name);
  if (it == controls.end()) throw std::logic_error("no " + std::string(kind) + " " + std::string(name));
  return *it->second;
}

enum class DialogType { Error, Information };

// The application object: title, the three message displays, the window and its event loop.
class Application {
 public:
  virtual ~Application() = default;
  virtual void setTitle(const std::string& title) = 0;
  virtual std::string title() const = 0;

  // Plain message box: the application title as caption, no icon, one OK button. Modal.
  virtual void showMessage(const std::string& text) = 0;
  // Typed dialog: caption "Error" or "Information" with the system's icon, one OK button.
  virtual void messageDlg(const std::string& text, DialogType type) = 0;
  // Error box of a framework error: the application title, the error icon, one OK button.
  // The text arrives complete; the full-stop rule has been applied by the caller.
  virtual void showErrorBox(const std::string& text) = 0;

  // Renders the design as the main window, owned by the application. No event is delivered
  // before `run`.
  virtual Window& createWindow(const core::FormDesign& design) = 0;
  // Shows the window and hands every event of it to `dispatcher`: the show event while the
  // window is still invisible, the activations, key-downs, clicks and list changes. Returns once
  // `terminate` has been asked and the running handler has returned.
  virtual void run(core::Dispatcher& dispatcher) = 0;
  virtual void terminate() = 0;
};

}  // namespace ui
