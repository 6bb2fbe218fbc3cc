#include "direct/frm_autenticar.h"

#include "direct/impressao.h"

namespace direct {

namespace {
constexpr char kLabelPrinter[] = "Zebra - GC420d";
}

TFrmAutenticar::TFrmAutenticar(ui::Window& window, ui::Application& app, os::System& system)
    : AuthenticatorForm(window, app, system, core::Program::Direct),
      ComboPorta(window.pickList("ComboPorta")),
      ComboModeloImpressora(window.pickList("ComboModeloImpressora")),
      ComboBobina(window.pickList("ComboBobina")),
      edNomeCompartilhamento(window.textField("edNomeCompartilhamento")) {
  on("FormShow", [this](core::KeyArgs*) { FormShow(); });
  on("Inicializa", [this](core::KeyArgs*) { Inicializa(); });
  on("ComboPortaChange", [this](core::KeyArgs*) { ComboPortaChange(); });
}

void TFrmAutenticar::FormShow() {
  showCaptionAndLock("Autenticar Protocolo ");
  shareNameRule();  // the lists have no selection yet, so this always disables the field
  core::parseProtocol(TxtAutentica.text(), *this);
}

void TFrmAutenticar::Inicializa() {
  settings_.loadIndex("MODELO", ComboModeloImpressora);
  settings_.loadIndex("PORTA", ComboPorta);
  settings_.loadIndex("BOBINA", ComboBobina);
  if (auto share = settings_.read("COMPARTILHAMENTO"); !share.empty())
    edNomeCompartilhamento.setText(share);

  if (ComboPorta.selectedIndex() == -1) ComboPorta.setSelectedIndex(0);
  if (ComboModeloImpressora.selectedIndex() == -1) ComboModeloImpressora.setSelectedIndex(0);
  if (ComboBobina.selectedIndex() == -1) ComboBobina.setSelectedIndex(1);

  rollListRule();
}

void TFrmAutenticar::ComboPortaChange() {
  settings_.saveIndex("MODELO", ComboModeloImpressora);
  settings_.saveIndex("PORTA", ComboPorta);
  settings_.saveIndex("BOBINA", ComboBobina);
  settings_.write("COMPARTILHAMENTO", edNomeCompartilhamento.text());
  shareNameRule();
  rollListRule();
}

void TFrmAutenticar::btnAutenticacaoClick() {
  if (ComboPorta.text().empty()) {
    app_.showMessage("Selecione uma Porta!");
    return;
  }
  const int model = ComboModeloImpressora.selectedIndex();
  if (model == 0 || model == 1) {
    ComboBobina.setEnabled(true);
    authenticateDocument();
  } else if (model != 2) {
    ComboBobina.setEnabled(true);
    app_.showMessage("Modelo Não Suportado!");
  } else {
    ComboBobina.setEnabled(false);
    printReceipt();
  }
}

void TFrmAutenticar::shareNameRule() { edNomeCompartilhamento.setEnabled(ComboPorta.text() == "USB"); }

void TFrmAutenticar::rollListRule() {
  ComboBobina.setEnabled(ComboModeloImpressora.text() != kLabelPrinter);
}

void TFrmAutenticar::authenticateDocument() {
  writeDocument(system_, ComboPorta.text(), ComboBobina.selectedIndex() == 0, TxtAutentica.text());
}

// The receipt goes to the share name as typed, whatever the port; the port only decides
// whether a share name is required.
void TFrmAutenticar::printReceipt() {
  if (trimControls(ComboPorta.text()) == "USB" && trimControls(edNomeCompartilhamento.text()).empty()) {
    app_.showMessage(kUsbShareMessage);
    edNomeCompartilhamento.setFocus();
    return;
  }
  writeLabel(system_, edNomeCompartilhamento.text(), *this);
}

}  // namespace direct
