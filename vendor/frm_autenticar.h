// TFrmAutenticar of quolt_autenticador_dll: the window that prints through the printer maker's
// library. It holds its text as 8-bit characters of the code page, as the library takes them.
#pragma once

#include <cstdint>
#include <string>

#include "core/autenticar.h"
#include "vendor/modulo.h"

namespace vendor {

// The port name last given to the library, 8-bit; empty at start. Only ComboBox1Change sets
// it, and only for the four ports it knows.
extern std::string strPorta;
// The last result of ConfiguraModeloImpressora, DocumentInserted or AutenticaDoc.
extern std::int32_t intRetorno;

inline constexpr char kInvalidParameterMessage[] =
    "Parâmetro inválido na função \"ConfiguraModeloImpressora.\"";
inline constexpr char kNotAuthenticatedMessage[] =
    "Problemas na autenticação do documento.\nPossíveis causas: Documento não inserido, "
    "impressora desligada, off-line ou sem papel";
// The library waits this long for the print, in milliseconds: ten seconds.
inline constexpr std::int32_t kAuthenticationTimeLimit = 10 * 1000;

class TFrmAutenticar : public core::AuthenticatorForm {
 public:
  TFrmAutenticar(ui::Window& window, ui::Application& app, os::System& system, Library& library);

  void FormShow();
  void Inicializa();
  void ComboBox1Change();
  void ComboModeloImpressoraChange();
  void btnAutenticacaoClick() override;

 private:
  void saveSettings();
  void configureModel(std::int32_t code);
  void errorDialog(const std::string& text);

  Library& library_;
  ui::PickList& ComboBox1;
  ui::PickList& ComboModeloImpressora;
};

}  // namespace vendor
