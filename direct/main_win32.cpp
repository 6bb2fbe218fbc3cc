// quolt_autenticador on Windows: the wide program, with the Win32 window.
#include <windows.h>

#include "direct/program.h"
#include "platform/win32/system.h"
#include "platform/win32/win32_ui.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  win32::System system(win32::Api::Wide);
  return win32ui::runProgram(direct::program(system), system);
}
