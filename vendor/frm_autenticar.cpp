#include "vendor/frm_autenticar.h"

#include <array>

namespace vendor {

std::string strPorta;
std::int32_t intRetorno = 0;

namespace {

// The names handed to IniciaPorta, by port-list index. They are the handler's own words, not
// the list's items, which happen to read the same.
constexpr std::array<const char*, 4> kPortNames{"LPT1", "COM1", "COM2", "USB"};

// Both printer models speak the library's model 1.
constexpr std::int32_t kModelCode = 1;

// The library answers this when a parameter, or the document, is missing.
constexpr std::int32_t kInvalid = -2;

}  // namespace

TFrmAutenticar::TFrmAutenticar(ui::Window& window, ui::Application& app, os::System& system,
                               Library& library)
    : AuthenticatorForm(window, app, system, core::Program::Vendor),
      library_(library),
      ComboBox1(window.pickList("ComboBox1")),
      ComboModeloImpressora(window.pickList("ComboModeloImpressora")) {
  on("FormShow", [this](core::KeyArgs*) { FormShow(); });
  on("Inicializa", [this](core::KeyArgs*) { Inicializa(); });
  on("ComboBox1Change", [this](core::KeyArgs*) { ComboBox1Change(); });
  on("ComboModeloImpressoraChange", [this](core::KeyArgs*) { ComboModeloImpressoraChange(); });
}

void TFrmAutenticar::FormShow() {
  showCaptionAndLock("Autenticar Protocolo - dll - ");
}

// The port stays closed until the first port change or Authenticate command.
void TFrmAutenticar::Inicializa() {
  settings_.loadIndex("MODELO", ComboModeloImpressora);
  settings_.loadIndex("PORTA", ComboBox1);
  if (ComboBox1.selectedIndex() == -1) ComboBox1.setSelectedIndex(0);
  if (ComboModeloImpressora.selectedIndex() == -1) ComboModeloImpressora.setSelectedIndex(0);

  configureModel(kModelCode);
  // Saves, so that a stored index naming no item is replaced by the one now selected, and
  // configures the model a second time.
  ComboModeloImpressoraChange();
}

void TFrmAutenticar::ComboBox1Change() {
  saveSettings();
  // Also called before any port was opened; the library's answer is judged the same way.
  if (library_.FechaPorta() <= 0) errorDialog("Problemas ao fechar a porta de Comunicação.");
  const int index = ComboBox1.selectedIndex();
  if (index >= 0 && index < static_cast<int>(kPortNames.size())) strPorta = kPortNames[index];
  // An empty name goes as an empty text, never as a null pointer.
  if (library_.IniciaPorta(strPorta.c_str()) <= 0)
    errorDialog("Problemas ao abrir a porta de Comunicação.");
}

void TFrmAutenticar::ComboModeloImpressoraChange() {
  saveSettings();
  configureModel(kModelCode);
}

void TFrmAutenticar::btnAutenticacaoClick() {
  // Every command saves the settings and reopens the port, whatever the library answers.
  ComboBox1Change();

  intRetorno = library_.DocumentInserted();
  if (intRetorno == kInvalid) {
    app_.messageDlg("Documento não inserido.", ui::DialogType::Information);
    return;
  }

  if (ComboBox1.text().empty()) {
    app_.showMessage("Selecione uma Porta!");
    return;
  }

  // The text goes whole, as the operator sees it, in the library's 8-bit code page; an empty
  // field goes as an empty text.
  const std::string texto = system_.toCodePage(TxtAutentica.text());
  intRetorno = library_.AutenticaDoc(texto.c_str(), kAuthenticationTimeLimit);
  if (intRetorno == 0)
    errorDialog(kNotAuthenticatedMessage);
  else if (intRetorno == -1)
    errorDialog("Tempo maior que o permitido.");
}

void TFrmAutenticar::saveSettings() {
  settings_.saveIndex("MODELO", ComboModeloImpressora);
  settings_.saveIndex("PORTA", ComboBox1);
}

void TFrmAutenticar::configureModel(std::int32_t code) {
  intRetorno = library_.ConfiguraModeloImpressora(code);
  if (intRetorno == kInvalid) errorDialog(kInvalidParameterMessage);
}

void TFrmAutenticar::errorDialog(const std::string& text) {
  app_.messageDlg(text, ui::DialogType::Error);
}

}  // namespace vendor
