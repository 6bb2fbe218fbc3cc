#include "platform/memory/memory_ui.h"

#include <stdexcept>

namespace memory {

namespace {
std::size_t characters(const std::string& utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}
}  // namespace

void PickList::setSelectedIndex(int index) {
  index_ = index >= 0 && index < count() ? index : -1;
}

std::string PickList::text() const { return index_ < 0 ? std::string() : items_[index_]; }

void TextField::setFocus() { window_.focusOn(name_); }

Window::Window(const core::FormDesign& design) : design_(design), caption_(design.caption) {
  for (const auto& c : design.controls) {
    if (c.kind == core::ControlKind::PickList)
      lists_.emplace(c.name, std::make_unique<PickList>(c.items));
    if (c.kind == core::ControlKind::Edit) {
      fields_.emplace(c.name, std::make_unique<TextField>(*this, c.name));
      fields_[c.name]->setText(c.caption);
    }
  }
}

PickList& Window::list(std::string_view name) { return ui::controlNamed(lists_, name, "pick list"); }

TextField& Window::field(std::string_view name) { return ui::controlNamed(fields_, name, "edit field"); }

bool Window::canFocus(std::string_view control) const {
  if (auto it = lists_.find(control); it != lists_.end()) return it->second->enabled();
  if (auto it = fields_.find(control); it != fields_.end()) return it->second->enabled();
  return true;  // buttons and group boxes are never disabled here
}

void Window::focusOn(const std::string& control) {
  page_ = core::pageOf(design_, control);
  focus_ = control;
}

void Window::focusFirstOf(const std::string& page) {
  page_ = page;
  focus_ = core::firstFocusable(design_, page,
                                [this](std::string_view name) { return canFocus(name); });
}

void Application::showMessage(const std::string& text) {
  shown_.push_back({Shown::Kind::Message, title_, text});
}

void Application::messageDlg(const std::string& text, ui::DialogType type) {
  shown_.push_back(
      {Shown::Kind::Dialog, type == ui::DialogType::Error ? "Error" : "Information", text});
}

void Application::showErrorBox(const std::string& text) {
  shown_.push_back({Shown::Kind::ErrorBox, title_, text});
}

ui::Window& Application::createWindow(const core::FormDesign& design) {
  window_ = std::make_unique<Window>(design);
  return *window_;
}

void Application::run(core::Dispatcher& dispatcher) {
  attach(dispatcher);
  dispatcher.show();
  window_->focusFirstOf("TabSheet1");
  dispatcher.activate();
  if (script && !terminated_) script(*this);
}

void Application::select(const std::string& list, int index) {
  if (terminated_ || !window_->list(list).enabled()) return;
  window_->focusOn(list);
  window_->list(list).setSelectedIndex(index);
  dispatcher_->change(list);
}

void Application::type(const std::string& text) {
  if (terminated_) return;
  auto& field = window_->field(window_->focus());
  if (!field.enabled()) return;
  const auto* design = window_->design().find(window_->focus());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
    std::string next = field.text() + text.substr(i, len);
    if (core::typingAllowed(design->maxLength, 1, characters(next))) field.setText(next);
    i += len;
  }
}

void Application::backspace(int count) {
  if (terminated_) return;
  auto& field = window_->field(window_->focus());
  std::string t = field.text();
  for (int k = 0; k < count && !t.empty(); ++k) {
    while (!t.empty() && (static_cast<unsigned char>(t.back()) & 0xC0) == 0x80) t.pop_back();
    if (!t.empty()) t.pop_back();
  }
  field.setText(t);
}

void Application::pressKey(std::uint16_t key, unsigned shift) {
  if (terminated_) return;
  dispatcher_->keyDown(window_->focus(), key, shift);
}

void Application::altD() {
  if (terminated_) return;
  // The accelerator belongs to a button on the authentication tab: only while it is shown.
  for (const auto& c : window_->design().controls)
    if (c.kind == core::ControlKind::Button && core::accelerator(c.caption) == 'D' &&
        core::pageOf(window_->design(), c.name) == window_->page())
      dispatcher_->click(c.name);
}

void Application::click(const std::string& button) {
  if (terminated_) return;
  window_->focusOn(button);
  dispatcher_->click(button);
}

void Application::switchTab(const std::string& page) {
  if (terminated_ || page == window_->page()) return;
  window_->focusFirstOf(page);
}

void Application::activateAgain() {
  if (!terminated_) dispatcher_->activate();
}

}  // namespace memory
