#include "platform/qt/qt_app.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/posix/codepage.h"
#include "platform/qt/qt_ui.h"

namespace qtui {

namespace {

// Qt ends the process with a crash when it finds no display; this says so plainly instead.
bool displayReachable() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  };
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int runProgram(int argc, char** argv, const core::ProgramDefinition& program) {
  // Linux hands the arguments over already split, in the locale's encoding (UTF-8); a host
  // that writes the 8-bit code page instead is read in it.
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(posix::hostText(argv[i]));
  try {
    return core::startUp(
        args,
        []() -> std::unique_ptr<ui::Application> {
          if (!displayReachable())
            throw std::runtime_error("no display to open the window on (DISPLAY is not set)");
          return std::make_unique<Application>();
        },
        program);
  } catch (const std::exception& e) {
    // The host reads nothing but the exit code, which is 0 on every path.
    std::fprintf(stderr, "%s: %s\n", args.empty() ? "quolt" : args[0].c_str(), e.what());
    return 0;
  }
}

}  // namespace qtui
