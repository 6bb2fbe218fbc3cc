// quolt_autenticador as start-up sees it: its window design and its window logic.
#pragma once

#include "core/startup.h"
#include "platform/os.h"

namespace direct {

core::ProgramDefinition program(os::System& system);

}  // namespace direct
