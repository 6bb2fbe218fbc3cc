#include "mp2032/port.h"

#include "platform/posix/system.h"

namespace mp2032 {

// LPT1-LPT3 and COM1-COM6 are devices, "USB" and any other name a file of the current
// folder, printer shares whatever the service behind createOutput makes of them.
os::Opened openPort(const std::string& name) {
  static posix::System system;
  return system.createOutput(name);
}

}  // namespace mp2032
