// The operating-system services the logic needs, as the core sees them. One implementation per
// platform (platform/win32, platform/posix); only the programs' main files pick one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace os {

// The fixed file-version record: four 16-bit numbers packed as Windows packs them.
struct FileVersion {
  std::uint32_t ms = 0;  // major << 16 | minor
  std::uint32_t ls = 0;  // release << 16 | build
};

// What a handle opened for output turned out to be, as GetFileType reports it.
enum class FileType { Unknown, Disk, Char, Pipe };

// An open output target. Failures are Windows system error codes (2 file not found, 3 path not
// found, 5 access denied, 112 disk full, 232 pipe closing, ...); the POSIX side maps errno onto
// them so that the operator reads the same message on both systems.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual FileType type() const = 0;
  // One synchronous write of all the bytes; 0 or the failure code.
  virtual int write(std::string_view bytes) = 0;
  // Releases the handle (the standard output is never released); 0 or the failure code.
  virtual int close() = 0;
};

struct Opened {
  std::unique_ptr<OutputFile> file;  // null when the open failed
  int error = 0;
};

class System {
 public:
  virtual ~System() = default;

  // Full path of the running executable, UTF-8.
  virtual std::string executablePath() = 0;
  // The folder of that path, ending in its separator: the place of the settings files.
  virtual std::string executableFolder() = 0;
  // The executable's file version, if it carries one.
  virtual std::optional<FileVersion> fileVersion() = 0;

  // Private-profile files. A missing file, section or key reads as the empty text; a value
  // reaches the caller cut to 2047 characters. A write reports success.
  virtual std::string readProfileString(const std::string& path, std::string_view section,
                                        std::string_view key) = 0;
  virtual bool writeProfileString(const std::string& path, std::string_view section,
                                  std::string_view key, std::string_view value) = 0;

  // The 8-bit code page of printers and of the vendor library. Characters the code page lacks
  // become its replacement character.
  virtual std::string toCodePage(std::string_view utf8) = 0;
  virtual std::string fromCodePage(std::string_view bytes) = 0;

  // Creates or empties the named target for writing, shared for reading (port device, printer
  // share or file, by the platform's name rules).
  virtual Opened createOutput(const std::string& name) = 0;
  // The process's standard output; its close does not release it.
  virtual Opened standardOutput() = 0;
};

}  // namespace os
