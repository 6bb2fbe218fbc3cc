// The output channel: a write-only byte channel opened by name on a port, a printer share or a
// file, living for one command. Text is converted to the 8-bit code page, lines end in CR LF,
// and bytes leave through a 128-byte buffer: a character device gets each operation's bytes by
// the operation's end, any other target in blocks of exactly 128 and the rest at close.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace direct {

// The longest target name the channel holds, in UTF-16 characters as on Windows.
inline constexpr std::size_t kMaxTargetName = 259;
inline constexpr std::size_t kBufferSize = 128;

// The message of an I/O error by its code; `target` fills the placeholder of code 3.
std::string ioErrorMessage(int code, const std::string& target);

class OutputChannel {
 public:
  explicit OutputChannel(os::System& system);
  // A channel still open (after a failure) is released here.
  ~OutputChannel();
  OutputChannel(const OutputChannel&) = delete;
  OutputChannel& operator=(const OutputChannel&) = delete;

  // Each operation raises EInOutError when it fails; the handle is released before the error
  // leaves, so the target is never left locked. An empty name is the standard output.
  void open(const std::string& name);
  void write(std::string_view text);
  void writeLine(std::string_view text);
  void close();

 private:
  void append(std::string_view bytes);
  void send();
  void endOperation();
  void check();
  void release();

  os::System& system_;
  std::unique_ptr<os::OutputFile> file_;
  std::string target_;
  bool character_ = false;
  std::string buffer_;
  int pending_ = 0;
};

}  // namespace direct
