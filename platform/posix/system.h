// The operating-system services on Linux.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace posix {

// The device a port name stands for, matched without regard to case like Windows device
// names: LPT1-LPT3 are lp0-lp2 and COM1-COM6 ttyS0-ttyS5 in the device folder. Any other name,
// "USB" among them, is no port: a path relative to the current folder.
std::optional<std::string> portDevice(std::string_view name, const std::string& deviceFolder);

// A Windows system error code for an errno, so that messages read the same on both systems.
int windowsErrorCode(int error);

class System : public os::System {
 public:
  // `deviceFolder` holds the port devices; tests give a folder of their own.
  explicit System(std::string deviceFolder = "/dev/");
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

 private:
  std::string deviceFolder_;
};

}  // namespace posix
