// An in-memory window for the tests: renders a design into plain controls, records every
// message display, and lets a test act as the operator (pick, type, press keys, switch tabs)
// with the same routing rules as the real windows.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/design.h"
#include "core/form.h"
#include "platform/ui.h"

namespace memory {

struct Shown {
  enum class Kind { Message, Dialog, ErrorBox };
  Kind kind;
  std::string caption;
  std::string text;
  bool operator==(const Shown&) const = default;
};

class PickList : public ui::PickList {
 public:
  explicit PickList(std::vector<std::string> items) : items_(std::move(items)) {}
  int selectedIndex() const override { return index_; }
  void setSelectedIndex(int index) override;
  std::string text() const override;
  bool enabled() const override { return enabled_; }
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  int count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<std::string> items_;
  int index_ = -1;
  bool enabled_ = true;
};

class Window;

class TextField : public ui::TextField {
 public:
  TextField(Window& window, std::string name) : window_(window), name_(std::move(name)) {}
  std::string text() const override { return text_; }
  void setText(const std::string& text) override { text_ = text; }
  bool enabled() const override { return enabled_; }
  void setEnabled(bool enabled) override { enabled_ = enabled; }
  void setFocus() override;

 private:
  Window& window_;
  std::string name_;
  std::string text_;
  bool enabled_ = true;
};

class Window : public ui::Window {
 public:
  explicit Window(const core::FormDesign& design);
  ui::PickList& pickList(std::string_view name) override { return list(name); }
  ui::TextField& textField(std::string_view name) override { return field(name); }
  std::string caption() const override { return caption_; }
  void setCaption(const std::string& caption) override { caption_ = caption; }

  PickList& list(std::string_view name);
  TextField& field(std::string_view name);
  const core::FormDesign& design() const { return design_; }

  // The control holding the focus; empty when the window itself holds it.
  std::string focus() const { return focus_; }
  std::string page() const { return page_; }
  void focusOn(const std::string& control);
  // The focus rule of a page: its first control in tab order that can take the focus.
  void focusFirstOf(const std::string& page);
  bool canFocus(std::string_view control) const;

 private:
  const core::FormDesign& design_;
  std::string caption_;
  std::map<std::string, std::unique_ptr<PickList>, std::less<>> lists_;
  std::map<std::string, std::unique_ptr<TextField>, std::less<>> fields_;
  std::string focus_;
  std::string page_ = "TabSheet1";
};

class Application : public ui::Application {
 public:
  void setTitle(const std::string& title) override { title_ = title; }
  std::string title() const override { return title_; }
  void showMessage(const std::string& text) override;
  void messageDlg(const std::string& text, ui::DialogType type) override;
  void showErrorBox(const std::string& text) override;
  ui::Window& createWindow(const core::FormDesign& design) override;
  // Shows and activates the window, then plays `script` as the operator's events.
  void run(core::Dispatcher& dispatcher) override;
  void terminate() override { terminated_ = true; }

  // What the operator does; each is ignored once the program has been asked to end.
  std::function<void(Application&)> script;
  void select(const std::string& list, int index);
  void type(const std::string& text);     // into the focused field, at its end
  void backspace(int count = 1);          // in the focused field
  void pressKey(std::uint16_t key, unsigned shift = 0);
  void altD();
  void click(const std::string& button);
  void switchTab(const std::string& page);
  void activateAgain();  // back from another program

  Window& window() { return *window_; }
  const std::vector<Shown>& shown() const { return shown_; }
  void clearShown() { shown_.clear(); }
  bool terminated() const { return terminated_; }
  bool started() const { return window_ != nullptr; }

  // The dispatcher the test drives when it does not go through run().
  void attach(core::Dispatcher& dispatcher) { dispatcher_ = &dispatcher; }

 private:
  std::string title_;
  std::unique_ptr<Window> window_;
  core::Dispatcher* dispatcher_ = nullptr;
  std::vector<Shown> shown_;
  bool terminated_ = false;
};

}  // namespace memory
