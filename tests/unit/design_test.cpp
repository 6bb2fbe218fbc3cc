#include <gtest/gtest.h>

#include <set>

#include "core/design.h"

namespace {

using core::ControlKind;

std::vector<std::string> itemsOf(const core::FormDesign& d, const char* name) {
  return d.find(name)->items;
}

TEST(Design, DirectProgramsWindow) {
  const auto& d = core::directDesign();
  EXPECT_EQ(d.caption, "Autenticar Protocolo [versão 3.0]");
  EXPECT_EQ(d.width, 605);
  EXPECT_EQ(d.height, 233);
  EXPECT_EQ(d.find("TabSheet1")->caption, "   Autenticação   ");
  EXPECT_EQ(d.find("TabSheet2")->caption, "   Configurações da Impressora   ");
  EXPECT_EQ(itemsOf(d, "ComboPorta"), (std::vector<std::string>{"LPT1", "COM1", "COM2", "COM3", "COM4",
                                                                 "COM5", "COM6", "USB", "LPT2", "LPT3"}));
  EXPECT_EQ(itemsOf(d, "ComboModeloImpressora"),
            (std::vector<std::string>{"MP-20 CI", "MP-20 MI", "Zebra - GC420d"}));
  EXPECT_EQ(itemsOf(d, "ComboBobina"), (std::vector<std::string>{"SIM", "NÃO"}));
  EXPECT_EQ(d.find("GroupBox1")->caption, "Replicar Autenticação na Bobina ?");
  for (const char* list : {"ComboPorta", "ComboModeloImpressora", "ComboBobina"})
    EXPECT_EQ(d.find(list)->events.onChange, "ComboPortaChange") << list;
  EXPECT_TRUE(d.find("edNomeCompartilhamento")->events.onKeyDown.empty());
  EXPECT_EQ(d.find("edNomeCompartilhamento")->maxLength, 0);
  const auto& share = d.find("edNomeCompartilhamento")->bounds;
  EXPECT_EQ((std::array{share.left, share.top, share.width, share.height}), (std::array{224, 18, 205, 21}));
}

TEST(Design, VendorProgramsWindow) {
  const auto& d = core::vendorDesign();
  EXPECT_EQ(d.caption, "Autenticar Protocolo - dll - [versão 3.0]");
  EXPECT_FALSE(d.sizeIsClient);
  EXPECT_EQ(d.width, 591);
  EXPECT_EQ(d.height, 269);
  EXPECT_EQ(itemsOf(d, "ComboBox1"), (std::vector<std::string>{"LPT1", "COM1", "COM2", "USB"}));
  EXPECT_EQ(itemsOf(d, "ComboModeloImpressora"), (std::vector<std::string>{"MP-20 CI", "MP-20 MI"}));
  EXPECT_EQ(d.find("ComboBox1")->events.onChange, "ComboBox1Change");
  EXPECT_EQ(d.find("ComboModeloImpressora")->events.onChange, "ComboModeloImpressoraChange");
  EXPECT_EQ(d.find("ComboBobina"), nullptr);
  EXPECT_EQ(d.find("edNomeCompartilhamento"), nullptr);
}

// The authentication tab, its keys and handlers are the same in both programs.
TEST(Design, AuthenticationTabIsShared) {
  for (const auto* d : {&core::directDesign(), &core::vendorDesign()}) {
    EXPECT_EQ(d->onShow, "FormShow");
    EXPECT_EQ(d->onActivate, "Inicializa");
    EXPECT_EQ(d->onKeyDown, "FormKeyDown");
    const auto* text = d->find("TxtAutentica");
    EXPECT_EQ(text->maxLength, 48);
    EXPECT_EQ(text->font.face, "Courier New");
    EXPECT_TRUE(text->font.bold);
    EXPECT_EQ(text->events.onKeyDown, "TxtAutenticaKeyDown");
    EXPECT_EQ(d->find("btnAutenticacao")->caption, "Autenticar &Documento");
    EXPECT_EQ(d->find("btnAutenticacao")->events.onClick, "btnAutenticacaoClick");
    EXPECT_EQ(d->find("BitSair")->events.onKeyDown, "BitSairKeyDown");
    EXPECT_EQ(d->find("Label2")->caption, "[F5]");
    EXPECT_EQ(d->find("Label3")->caption, "[F4]");
    std::set<std::string> names;
    for (const auto& c : d->controls) {
      EXPECT_TRUE(names.insert(c.name).second) << "twice: " << c.name;
      EXPECT_TRUE(c.parent.empty() || names.count(c.parent)) << c.name << " before its parent";
    }
  }
}

TEST(Design, FirstFocusableFollowsTabOrderAndEnabling) {
  const auto& d = core::directDesign();
  auto all = [](std::string_view) { return true; };
  auto textLocked = [](std::string_view n) { return n != "TxtAutentica"; };
  auto portLocked = [](std::string_view n) { return n != "ComboPorta"; };
  EXPECT_EQ(core::firstFocusable(d, "TabSheet1", all), "TxtAutentica");
  EXPECT_EQ(core::firstFocusable(d, "TabSheet1", textLocked), "btnAutenticacao");
  EXPECT_EQ(core::firstFocusable(d, "TabSheet2", all), "ComboPorta");
  EXPECT_EQ(core::firstFocusable(d, "TabSheet2", portLocked), "edNomeCompartilhamento");
  EXPECT_EQ(core::pageOf(d, "ComboBobina"), "TabSheet2");
  EXPECT_EQ(core::pageOf(d, "BitSair"), "TabSheet1");
}

TEST(Design, AcceleratorsAndTheTypingLimit) {
  EXPECT_EQ(core::accelerator("Autenticar &Documento"), 'D');
  EXPECT_EQ(core::accelerator("Sair"), 0);
  EXPECT_EQ(core::accelerator("A && B"), 0);
  EXPECT_TRUE(core::typingAllowed(48, 1, 48));
  EXPECT_FALSE(core::typingAllowed(48, 1, 49));
  EXPECT_FALSE(core::typingAllowed(48, 1, 60));  // a longer start text takes no more
  EXPECT_TRUE(core::typingAllowed(48, 0, 59));   // but can be edited down
  EXPECT_TRUE(core::typingAllowed(0, 1, 500));   // no limit
}

}  // namespace
