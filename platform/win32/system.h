// The operating-system services on Windows. quolt_autenticador calls the wide variants of the
// system's services; quolt_autenticador_dll, an 8-bit program, the ANSI ones (command line,
// module path, profile files, version information). Inside, text is UTF-8 either way.
#pragma once

#include <memory>

#include "platform/os.h"

namespace win32 {

enum class Api { Wide, Ansi };

// An output target on a handle already opened (the Mp2032 stand-in opens its ports itself);
// `owned` handles are released by close.
std::unique_ptr<os::OutputFile> outputFile(void* handle, bool owned);

// The folder of an executable's path: everything up to its last backslash or colon.
std::string folderOf(const std::string& path);

class System : public os::System {
 public:
  explicit System(Api api);

  Api api() const { return api_; }

  std::string executablePath() override;
  std::string executableFolder() override;
  std::optional<os::FileVersion> fileVersion() override;
  std::string readProfileString(const std::string& path, std::string_view section,
                                std::string_view key) override;
  bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value) override;
  std::string toCodePage(std::string_view utf8) override;
  std::string fromCodePage(std::string_view bytes) override;
  os::Opened createOutput(const std::string& name) override;
  os::Opened standardOutput() override;

 private:
  Api api_;
  unsigned codePage_;  // the system's ANSI code page as the program found it at start
};

}  // namespace win32
