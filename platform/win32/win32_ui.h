// The Win32 window: renders any form design with the system's own controls (a tab control,
// group boxes, drop-down lists, edit fields, buttons, labels) and hands every event of it to
// the core's dispatcher, with the same routing rules as the other backends.
#pragma once

#include "core/startup.h"
#include "platform/win32/system.h"

namespace win32ui {

// Runs a program's start-up on Win32: the command line as the system hands it over (the wide
// line for a wide program, the ANSI line, split with its double-byte rule and then converted
// through the code page, for an 8-bit one). Returns the exit code (always 0).
int runProgram(const core::ProgramDefinition& program, win32::System& system);

}  // namespace win32ui
