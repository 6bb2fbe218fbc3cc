#include "core/startup.h"

#include "core/command_line.h"

namespace core {

int startUp(const std::vector<std::string>& args,
            const std::function<std::unique_ptr<ui::Application>()>& startToolkit,
            const ProgramDefinition& program) {
  if (!gateOpens(argument(args, 1))) return 0;

  auto app = startToolkit();
  app->setTitle(kApplicationTitle);
  ui::Window& window = app->createWindow(program.design);
  auto form = program.createForm(window, *app);

  std::string text = argument(args, 2);
  if (program.textOnEntry) text = program.textOnEntry(text);
  window.textField("TxtAutentica").setText(text);

  Dispatcher dispatcher(program.design, *form, *app);
  app->run(dispatcher);
  return 0;
}

}  // namespace core
