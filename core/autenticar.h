// The module UAutenticar: what both programs' TFrmAutenticar share. Each program derives its
// own window from it (direct/ and vendor/) and adds its settings-tab handlers and its
// Authenticate command.
#pragma once

#include <string>
#include <string_view>

#include "core/form.h"
#include "core/settings.h"
#include "platform/os.h"
#include "platform/ui.h"

namespace core {

// The running executable's file version, four numbers joined by full stops; empty for an
// executable without version information.
std::string ObtemVersao(os::System& system);

class AuthenticatorForm : public Form {
 public:
  AuthenticatorForm(ui::Window& window, ui::Application& app, os::System& system, Program program);

  // The Authenticate command, F5 and Alt+D.
  virtual void btnAutenticacaoClick() = 0;
  void BitSairClick();
  // TxtAutenticaKeyDown, btnAutenticacaoKeyDown, BitSairKeyDown and FormKeyDown are this one
  // handler: F5 runs the Authenticate command, then F4 clicks the Exit button. The modifiers
  // play no part and the key goes on unchanged.
  void keyDown(KeyArgs& args);

 protected:
  // The show handler's first two steps: the caption "<beginning>versão <version>] ", then the
  // lock step.
  void showCaptionAndLock(std::string_view captionBeginning);

  ui::Window& window_;
  ui::Application& app_;
  os::System& system_;
  Settings settings_;
  ui::TextField& TxtAutentica;
};

}  // namespace core
