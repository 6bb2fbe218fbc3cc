// The Qt 6 Widgets window of the Linux build.
#pragma once

#include "core/startup.h"

namespace qtui {

// Runs a program's start-up on Qt: the toolkit starts only when the gate opens, so a start
// without "OK" needs no display. Returns the exit code (always 0).
int runProgram(int argc, char** argv, const core::ProgramDefinition& program);

}  // namespace qtui
