// quolt_autenticador_dll on Linux: the Qt window, the POSIX services and libMp2032.so, which the
// loader finds beside this executable or the program does not start.
#include "platform/posix/system.h"
#include "platform/qt/qt_app.h"
#include "vendor/program.h"

int main(int argc, char** argv) {
  posix::System system;
  return qtui::runProgram(argc, argv, vendor::program(system));
}
