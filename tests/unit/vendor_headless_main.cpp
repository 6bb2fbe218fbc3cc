// quolt_autenticador_dll with the in-memory window instead of Qt: start-up, show and
// activation run against the linked libMp2032.so, then the program ends.
#include <memory>
#include <string>
#include <vector>

#include "platform/memory/memory_ui.h"
#include "platform/posix/system.h"
#include "vendor/program.h"

int main(int argc, char** argv) {
  posix::System system;
  const std::vector<std::string> args(argv, argv + argc);
  return core::startUp(
      args, [] { return std::make_unique<memory::Application>(); }, vendor::program(system));
}
