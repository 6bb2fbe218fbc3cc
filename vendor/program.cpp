#include "vendor/program.h"

#include "vendor/frm_autenticar.h"

namespace vendor {

core::ProgramDefinition program(os::System& system, Library& library) {
  return {
      core::vendorDesign(),
      [&system, &library](ui::Window& window, ui::Application& app) -> std::unique_ptr<core::Form> {
        return std::make_unique<TFrmAutenticar>(window, app, system, library);
      },
      // An 8-bit program: what the code page lacks is lost on entry, not at the printer.
      [&system](const std::string& text) { return system.fromCodePage(system.toCodePage(text)); }};
}

}  // namespace vendor
