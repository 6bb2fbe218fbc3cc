// The one piece of the stand-in that differs per system: opening a port by name for writing,
// with the same name rules as quolt_autenticador's output channel.
#pragma once

#include <string>

#include "platform/os.h"

namespace mp2032 {

os::Opened openPort(const std::string& name);

}  // namespace mp2032
