// TFrmAutenticar of quolt_autenticador: the window that writes the printers' bytes itself.
#pragma once

#include "core/autenticar.h"
#include "core/protocolo.h"

namespace direct {

class TFrmAutenticar : public core::AuthenticatorForm, public core::ProtocolFields {
 public:
  TFrmAutenticar(ui::Window& window, ui::Application& app, os::System& system);

  void FormShow();
  void Inicializa();
  void ComboPortaChange();
  void btnAutenticacaoClick() override;

 private:
  void shareNameRule();
  void rollListRule();
  void authenticateDocument();
  void printReceipt();

  ui::PickList& ComboPorta;
  ui::PickList& ComboModeloImpressora;
  ui::PickList& ComboBobina;
  ui::TextField& edNomeCompartilhamento;
};

}  // namespace direct
