// Start-up, the same in both programs: the gate word, the application title, the window with
// the host's text in it, and the event loop. Exit code 0 on every path.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/design.h"
#include "core/form.h"
#include "platform/ui.h"

namespace core {

inline constexpr char kApplicationTitle[] = "Sistema de Autenticação";

struct ProgramDefinition {
  const FormDesign& design;
  // Binds the window's logic to a rendered window.
  std::function<std::unique_ptr<Form>(ui::Window& window, ui::Application& app)> createForm;
  // What argument 2 becomes on its way into the text field (the 8-bit program passes it
  // through its code page); unchanged when empty.
  std::function<std::string(const std::string&)> textOnEntry;
};

// `args` holds the program's name, then argument 1, 2, ... The toolkit is started only when
// the gate opens, so a start without "OK" touches no window system.
int startUp(const std::vector<std::string>& args,
            const std::function<std::unique_ptr<ui::Application>()>& startToolkit,
            const ProgramDefinition& program);

}  // namespace core
