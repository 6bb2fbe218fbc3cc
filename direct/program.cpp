#include "direct/program.h"

#include "direct/frm_autenticar.h"

namespace direct {

core::ProgramDefinition program(os::System& system) {
  return {core::directDesign(),
          [&system](ui::Window& window, ui::Application& app) -> std::unique_ptr<core::Form> {
            return std::make_unique<TFrmAutenticar>(window, app, system);
          },
          nullptr};
}

}  // namespace direct
