#include "core/autenticar.h"

namespace core {

std::string ObtemVersao(os::System& system) {
  const auto version = system.fileVersion();
  if (!version) return {};
  return std::to_string(version->ms >> 16) + "." + std::to_string(version->ms & 0xFFFF) + "." +
         std::to_string(version->ls >> 16) + "." + std::to_string(version->ls & 0xFFFF);
}

AuthenticatorForm::AuthenticatorForm(ui::Window& window, ui::Application& app, os::System& system,
                                     Program program)
    : window_(window),
      app_(app),
      system_(system),
      settings_(system, program),
      TxtAutentica(window.textField("TxtAutentica")) {
  on("BitSairClick", [this](KeyArgs*) { BitSairClick(); });
  on("btnAutenticacaoClick", [this](KeyArgs*) { btnAutenticacaoClick(); });
  for (const char* name :
       {"TxtAutenticaKeyDown", "btnAutenticacaoKeyDown", "BitSairKeyDown", "FormKeyDown"})
    on(name, [this](KeyArgs* args) { keyDown(*args); });
}

void AuthenticatorForm::BitSairClick() { app_.terminate(); }

void AuthenticatorForm::keyDown(KeyArgs& args) {
  if (args.key == kKeyF5) btnAutenticacaoClick();
  if (args.key == kKeyF4) BitSairClick();
}

void AuthenticatorForm::showCaptionAndLock(std::string_view captionBeginning) {
  window_.setCaption(std::string(captionBeginning) + "[versão " + ObtemVersao(system_) + "] ");
  TxtAutentica.setEnabled(!settings_.textLocked());
}

}  // namespace core
