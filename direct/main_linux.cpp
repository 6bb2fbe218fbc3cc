// quolt_autenticador on Linux: the direct program on the POSIX services and the Qt window.
#include "direct/program.h"
#include "platform/posix/system.h"
#include "platform/qt/qt_app.h"

int main(int argc, char** argv) {
  posix::System system;
  return qtui::runProgram(argc, argv, direct::program(system));
}
