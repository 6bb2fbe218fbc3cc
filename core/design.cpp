#include "core/design.h"

#include <algorithm>
#include <cctype>

namespace core {
namespace {

const Font kBoldTahoma{"Tahoma", 8, 11, true};
const Font kBigKeyFont{"Tahoma", 18, 24, true};
const Font kTextFont{"Courier New", 12, 16, true};

ControlDesign control(ControlKind kind, std::string name, std::string parent, Rect bounds,
                      std::string caption = {}, int tabOrder = -1) {
  ControlDesign c;
  c.kind = kind;
  c.name = std::move(name);
  c.parent = std::move(parent);
  c.bounds = bounds;
  c.caption = std::move(caption);
  c.tabOrder = tabOrder;
  return c;
}

// The authentication tab and everything around it, the same in both programs.
void addFormFrame(FormDesign& f, Rect pageControl, int tabHeight) {
  f.name = "FrmAutenticar";
  f.className = "TFrmAutenticar";
  f.onShow = "FormShow";
  f.onActivate = "Inicializa";
  f.onKeyDown = "FormKeyDown";
  f.look.tabHeight = tabHeight;

  f.controls.push_back(control(ControlKind::PageControl, "RzPageControl1", "", pageControl));
  f.controls.push_back(
      control(ControlKind::TabSheet, "TabSheet1", "RzPageControl1", {}, "   Autenticação   ", 0));
  f.controls.push_back(control(ControlKind::TabSheet, "TabSheet2", "RzPageControl1", {},
                               "   Configurações da Impressora   ", 1));

  f.controls.push_back(
      control(ControlKind::Label, "Label10", "TabSheet1", {8, 13, 109, 13}, "Texto da Autenticação"));

  auto text = control(ControlKind::Edit, "TxtAutentica", "TabSheet1", {8, 29, 497, 26}, "", 0);
  text.font = kTextFont;
  text.maxLength = 48;
  text.events.onKeyDown = "TxtAutenticaKeyDown";
  f.controls.push_back(text);

  auto authenticate = control(ControlKind::Button, "btnAutenticacao", "TabSheet1",
                              {8, 94, 157, 35}, "Autenticar &Documento", 1);
  authenticate.events.onClick = "btnAutenticacaoClick";
  authenticate.events.onKeyDown = "btnAutenticacaoKeyDown";
  f.controls.push_back(authenticate);

  auto f5 = control(ControlKind::Label, "Label2", "TabSheet1", {171, 97, 51, 29}, "[F5]");
  f5.font = kBigKeyFont;
  f.controls.push_back(f5);

  auto exit = control(ControlKind::Button, "BitSair", "TabSheet1", {312, 94, 49, 35}, "Sair", 2);
  exit.events.onClick = "BitSairClick";
  exit.events.onKeyDown = "BitSairKeyDown";
  f.controls.push_back(exit);

  auto f4 = control(ControlKind::Label, "Label3", "TabSheet1", {366, 97, 51, 29}, "[F4]");
  f4.font = kBigKeyFont;
  f.controls.push_back(f4);
}

// Group boxes are bold, and what they hold inherits their font.
ControlDesign groupBox(std::string name, Rect bounds, std::string caption, int tabOrder) {
  auto box = control(ControlKind::GroupBox, std::move(name), "TabSheet2", bounds,
                     std::move(caption), tabOrder);
  box.font = kBoldTahoma;
  return box;
}

ControlDesign inBox(ControlKind kind, std::string name, std::string box, Rect bounds,
                    std::string caption = {}, int tabOrder = -1) {
  auto c = control(kind, std::move(name), std::move(box), bounds, std::move(caption), tabOrder);
  c.font = kBoldTahoma;
  return c;
}

ControlDesign pickList(std::string name, std::string box, Rect bounds,
                       std::vector<std::string> items, std::string onChange) {
  auto list = inBox(ControlKind::PickList, std::move(name), std::move(box), bounds, {}, 0);
  list.items = std::move(items);
  list.events.onChange = std::move(onChange);
  return list;
}

FormDesign makeDirectDesign() {
  FormDesign f;
  f.caption = "Autenticar Protocolo [versão 3.0]";
  f.width = 605;
  f.height = 233;
  f.sizeIsClient = true;
  addFormFrame(f, {40, 19, 517, 182}, 19);

  f.controls.push_back(groupBox("GroupBox6", {16, 6, 449, 45}, "Porta de Comunicação", 0));
  f.controls.push_back(pickList(
      "ComboPorta", "GroupBox6", {13, 18, 76, 21},
      {"LPT1", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "USB", "LPT2", "LPT3"},
      "ComboPortaChange"));
  f.controls.push_back(inBox(ControlKind::Label, "lblNomeCompartilhamento", "GroupBox6",
                             {95, 20, 109, 13}, "Compartilhamento:"));
  f.controls.push_back(
      inBox(ControlKind::Edit, "edNomeCompartilhamento", "GroupBox6", {224, 18, 205, 21}, "", 1));

  f.controls.push_back(groupBox("GroupBox7", {16, 53, 211, 47}, "Modelo da Impressora", 1));
  f.controls.push_back(pickList("ComboModeloImpressora", "GroupBox7", {13, 17, 188, 21},
                                {"MP-20 CI", "MP-20 MI", "Zebra - GC420d"}, "ComboPortaChange"));

  f.controls.push_back(
      groupBox("GroupBox1", {16, 102, 211, 47}, "Replicar Autenticação na Bobina ?", 2));
  f.controls.push_back(
      pickList("ComboBobina", "GroupBox1", {13, 17, 188, 21}, {"SIM", "NÃO"}, "ComboPortaChange"));
  return f;
}

FormDesign makeVendorDesign() {
  FormDesign f;
  f.caption = "Autenticar Protocolo - dll - [versão 3.0]";
  f.width = 591;
  f.height = 269;
  f.sizeIsClient = false;
  addFormFrame(f, {28, 19, 517, 182}, 0);

  f.controls.push_back(groupBox("GroupBox6", {16, 26, 211, 45}, "Porta de Comunicação", 0));
  f.controls.push_back(pickList("ComboBox1", "GroupBox6", {38, 18, 76, 21},
                                {"LPT1", "COM1", "COM2", "USB"}, "ComboBox1Change"));
  f.controls.push_back(groupBox("GroupBox7", {16, 85, 211, 47}, "Modelo da Impressora", 1));
  f.controls.push_back(pickList("ComboModeloImpressora", "GroupBox7", {13, 17, 188, 21},
                                {"MP-20 CI", "MP-20 MI"}, "ComboModeloImpressoraChange"));
  return f;
}

bool takesFocus(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::Button || kind == ControlKind::PickList;
}

}  // namespace

const ControlDesign* FormDesign::find(std::string_view controlName) const {
  for (const auto& c : controls)
    if (c.name == controlName) return &c;
  return nullptr;
}

std::vector<const ControlDesign*> FormDesign::children(std::string_view parentName) const {
  std::vector<const ControlDesign*> result;
  for (const auto& c : controls)
    if (c.parent == parentName) result.push_back(&c);
  std::stable_sort(result.begin(), result.end(), [](const auto* a, const auto* b) {
    auto key = [](const ControlDesign* c) { return c->tabOrder < 0 ? 1 << 30 : c->tabOrder; };
    return key(a) < key(b);
  });
  return result;
}

const FormDesign& directDesign() {
  static const FormDesign design = makeDirectDesign();
  return design;
}

const FormDesign& vendorDesign() {
  static const FormDesign design = makeVendorDesign();
  return design;
}

std::string pageOf(const FormDesign& design, std::string_view controlName) {
  for (const auto* c = design.find(controlName); c != nullptr; c = design.find(c->parent))
    if (c->kind == ControlKind::TabSheet) return c->name;
  return {};
}

std::string firstFocusable(const FormDesign& design, std::string_view page,
                           const std::function<bool(std::string_view name)>& canFocus) {
  for (const auto* c : design.children(page)) {
    if (c->tabOrder < 0 || !canFocus(c->name)) continue;
    if (takesFocus(c->kind)) return c->name;
    if (c->kind == ControlKind::GroupBox) {
      auto inside = firstFocusable(design, c->name, canFocus);
      if (!inside.empty()) return inside;
    }
  }
  return {};
}

char accelerator(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

bool typingAllowed(int maxLength, std::size_t insertedChars, std::size_t resultChars) {
  return maxLength <= 0 || insertedChars == 0 || resultChars <= static_cast<std::size_t>(maxLength);
}

}  // namespace core
