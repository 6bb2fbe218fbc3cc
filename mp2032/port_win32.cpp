#include <windows.h>

#include "mp2032/port.h"
#include "platform/win32/system.h"

namespace mp2032 {

// The library takes 8-bit names and hands them to the system as they are: a port device
// (LPT1, COM1, ...), a printer share or a file of the current folder ("USB"), exactly as
// quolt_autenticador's output channel opens its targets.
os::Opened openPort(const std::string& name) {
  HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {nullptr, static_cast<int>(GetLastError())};
  return {win32::outputFile(handle, true), 0};
}

}  // namespace mp2032
