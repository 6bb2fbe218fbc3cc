#include "core/form.h"

#include <exception>
#include <stdexcept>

#include "core/errors.h"

namespace core {

void Form::on(std::string name, Handler handler) { handlers_[std::move(name)] = std::move(handler); }

bool Form::has(std::string_view handler) const { return handlers_.find(handler) != handlers_.end(); }

void Form::invoke(std::string_view handler, KeyArgs* key) {
  auto it = handlers_.find(handler);
  if (it == handlers_.end())
    throw std::logic_error("the window has no handler " + std::string(handler));
  it->second(key);
}

Dispatcher::Dispatcher(const FormDesign& design, Form& form, ui::Application& app)
    : design_(design), form_(form), app_(app) {}

void Dispatcher::show() {
  if (shown_) return;
  shown_ = true;
  run(design_.onShow);
}

void Dispatcher::activate() {
  if (activated_) return;
  activated_ = true;
  run(design_.onActivate);
}

void Dispatcher::click(std::string_view name) { run(control(name).events.onClick); }

void Dispatcher::change(std::string_view name) { run(control(name).events.onChange); }

void Dispatcher::keyDown(std::string_view name, std::uint16_t key, unsigned shift) {
  const std::string& handler = name.empty() ? design_.onKeyDown : control(name).events.onKeyDown;
  KeyArgs args{key, shift};
  run(handler, &args);
}

const ControlDesign& Dispatcher::control(std::string_view name) const {
  const auto* c = design_.find(name);
  if (c == nullptr) throw std::logic_error("the design has no control " + std::string(name));
  return *c;
}

void Dispatcher::run(const std::string& handler, KeyArgs* key) {
  if (handler.empty()) return;
  try {
    form_.invoke(handler, key);
  } catch (const std::exception& e) {
    // Besides the framework errors, anything else a handler lets out (out of memory, say)
    // is shown the same way rather than ending the program and the desk's work with it.
    app_.showErrorBox(errorBoxText(e.what()));
  }
}

}  // namespace core
