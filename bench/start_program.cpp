// quolt_autenticador as the host starts it, its real Qt window, services and settings, ending
// as soon as the window is interactive: the first activation handler (settings loaded) has
// returned. Prints its resident memory at that moment.
#include <cstdio>
#include <fstream>
#include <string>

#include "direct/program.h"
#include "platform/posix/system.h"
#include "bench/resident.h"
#include "platform/qt/qt_app.h"

namespace {

// The program's own window logic, every handler passed through; the activation ends the run.
class EndAfterActivation : public core::Form {
 public:
  EndAfterActivation(std::unique_ptr<core::Form> inner, const core::FormDesign& design,
                     ui::Application& app)
      : inner_(std::move(inner)) {
    auto forward = [this](const std::string& name) {
      if (!name.empty()) on(name, [this, name](core::KeyArgs* key) { inner_->invoke(name, key); });
    };
    forward(design.onShow);
    forward(design.onKeyDown);
    for (const auto& c : design.controls) {
      forward(c.events.onClick);
      forward(c.events.onChange);
      forward(c.events.onKeyDown);
    }
    on(design.onActivate, [this, &app, name = design.onActivate](core::KeyArgs* key) {
      inner_->invoke(name, key);
      std::fprintf(stderr, "rss_kb %ld\n", residentKb());
      app.terminate();
    });
  }

 private:
  std::unique_ptr<core::Form> inner_;
};

}  // namespace

int main(int argc, char** argv) {
  posix::System system;
  auto program = direct::program(system);
  auto createForm = program.createForm;
  program.createForm = [&](ui::Window& window, ui::Application& app) -> std::unique_ptr<core::Form> {
    return std::make_unique<EndAfterActivation>(createForm(window, app), program.design, app);
  };
  return qtui::runProgram(argc, argv, program);
}
