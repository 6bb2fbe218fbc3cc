#include "vendor/modulo.h"

#include "vendor/program.h"

namespace vendor {

namespace {

class LinkedLibrary : public Library {
 public:
  std::int32_t IniciaPorta(const char* porta) override { return ::IniciaPorta(porta); }
  std::int32_t FechaPorta() override { return ::FechaPorta(); }
  std::int32_t ConfiguraModeloImpressora(std::int32_t modelo) override {
    return ::ConfiguraModeloImpressora(modelo);
  }
  std::int32_t DocumentInserted() override { return ::DocumentInserted(); }
  std::int32_t AutenticaDoc(const char* texto, std::int32_t tempo) override {
    return ::AutenticaDoc(texto, tempo);
  }
};

}  // namespace

Library& linkedLibrary() {
  static LinkedLibrary library;
  return library;
}

core::ProgramDefinition program(os::System& system) {
  return program(system, linkedLibrary());
}

}  // namespace vendor
