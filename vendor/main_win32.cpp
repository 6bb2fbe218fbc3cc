// quolt_autenticador_dll on Windows: an 8-bit program (the ANSI command line, module path,
// profile files and version information), the Win32 window, and Mp2032.dll bound at load time.
#include <windows.h>

#include "platform/win32/system.h"
#include "platform/win32/win32_ui.h"
#include "vendor/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  win32::System system(win32::Api::Ansi);
  return win32ui::runProgram(vendor::program(system), system);
}
