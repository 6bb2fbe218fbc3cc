// quolt_autenticador_dll as start-up sees it: its window design, its window logic bound to the
// printer maker's library, and its 8-bit handling of the host's text.
#pragma once

#include "core/startup.h"
#include "platform/os.h"
#include "vendor/modulo.h"

namespace vendor {

// The program with the library it is given (a fake, in the tests).
core::ProgramDefinition program(os::System& system, Library& library);

// The program bound to the linked Mp2032 (target quolt_vendor_linked).
core::ProgramDefinition program(os::System& system);

}  // namespace vendor
