#include "platform/qt/qt_app.h"

#include <string>
#include <vector>

#include "platform/qt/qt_ui.h"

namespace qtui {

int runProgram(int argc, char** argv, const core::ProgramDefinition& program) {
  // Linux hands the arguments over already split, in the locale's encoding (UTF-8).
  std::vector<std::string> args(argv, argv + argc);
  return core::startUp(
      args, [] { return std::make_unique<Application>(); }, program);
}

}  // namespace qtui
