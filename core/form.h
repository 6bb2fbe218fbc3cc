// The seam between a window's events and its handlers: the handler table of a form, and the
// one dispatcher through which every event of the window runs.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/design.h"
#include "platform/ui.h"

namespace core {

inline constexpr std::uint16_t kKeyF4 = 115;
inline constexpr std::uint16_t kKeyF5 = 116;

enum Shift : unsigned { kShift = 1, kAlt = 2, kCtrl = 4 };

// The arguments of a key-down handler: the virtual-key code by reference and the modifiers.
struct KeyArgs {
  std::uint16_t& key;
  unsigned shift = 0;
};

// A window's logic: its handlers, found by the names the design gives them.
class Form {
 public:
  using Handler = std::function<void(KeyArgs* key)>;
  virtual ~Form() = default;

  // Runs a handler. A name the form does not know is a fault of the design.
  void invoke(std::string_view handler, KeyArgs* key);
  bool has(std::string_view handler) const;

 protected:
  void on(std::string name, Handler handler);

 private:
  std::map<std::string, Handler, std::less<>> handlers_;
};

// Every event of the window reaches its handler here. A framework error (or any other error)
// raised inside ends the handler and is shown in the error box; the loop then goes on.
class Dispatcher {
 public:
  Dispatcher(const FormDesign& design, Form& form, ui::Application& app);

  // The show event, while the window is still invisible. Runs once.
  void show();
  // Every activation of the window; the handler runs at the first one only, so closing a
  // message box or coming back from another program loads nothing again.
  void activate();
  void click(std::string_view control);
  void change(std::string_view control);
  // A key-down on the control holding the focus; an empty name is the window itself.
  void keyDown(std::string_view control, std::uint16_t key, unsigned shift);

  const FormDesign& design() const { return design_; }

 private:
  void run(const std::string& handler, KeyArgs* key = nullptr);
  const ControlDesign& control(std::string_view name) const;

  const FormDesign& design_;
  Form& form_;
  ui::Application& app_;
  bool shown_ = false;
  bool activated_ = false;
};

}  // namespace core
