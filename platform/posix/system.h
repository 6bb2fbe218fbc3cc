// The operating-system services on Linux.
#pragma once

#include "platform/os.h"

namespace posix {

// The device a port name stands for, matched without regard to case like Windows device
// names: LPT1-LPT3 are /dev/lp0-/dev/lp2 and COM1-COM6 /dev/ttyS0-/dev/ttyS5. Any other name,
// "USB" among them, is a path relative to the current folder.
std::string devicePath(const std::string& name);

// A Windows system error code for an errno, so that messages read the same on both systems.
int windowsErrorCode(int error);

class System : public os::System {
 public:
  System();
  std::string executablePath() override;
  std::string executableFolder() override;
  std::optional<os::FileVersion> fileVersion() override;
  std::string readProfileString(const std::string& path, std::string_view section,
                                std::string_view key) override;
  bool writeProfileString(const std::string& path, std::string_view section,
                          std::string_view key, std::string_view value) override;
  std::string toCodePage(std::string_view utf8) override;
  std::string fromCodePage(std::string_view bytes) override;
  os::Opened createOutput(const std::string& name) override;
  os::Opened standardOutput() override;
};

}  // namespace posix
