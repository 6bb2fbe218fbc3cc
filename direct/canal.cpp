#include "direct/canal.h"

#include "core/errors.h"

namespace direct {

namespace {

constexpr int kFileTypeUnknown = 105;
constexpr int kPathNotFound = 3;

std::size_t utf16Length(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    n += c >= 0xF0 ? 2 : 1;            // beyond the basic plane: a surrogate pair
  }
  return n;
}

}  // namespace

std::string ioErrorMessage(int code, const std::string& target) {
  switch (code) {
    case 2: return "The specified file was not found";
    case 3: return core::format("Invalid file name - %s", target);
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return core::format("I/O error %d", code);
  }
}

OutputChannel::OutputChannel(os::System& system) : system_(system) { buffer_.reserve(kBufferSize); }

OutputChannel::~OutputChannel() { release(); }

void OutputChannel::open(const std::string& name) {
  buffer_.clear();
  target_ = name;
  os::Opened opened;
  if (utf16Length(name) > kMaxTargetName) {
    opened.error = kPathNotFound;  // never cut to some other name
  } else if (!name.empty()) {
    opened = system_.createOutput(name);
  } else {
    opened = system_.standardOutput();
  }
  file_ = std::move(opened.file);
  pending_ = opened.error;
  if (file_ && pending_ == 0) {
    const auto type = file_->type();
    if (type == os::FileType::Unknown) {
      pending_ = kFileTypeUnknown;
    } else {
      character_ = type == os::FileType::Char;
    }
  }
  check();
}

void OutputChannel::write(std::string_view text) {
  append(system_.toCodePage(text));
  endOperation();
}

void OutputChannel::writeLine(std::string_view text) {
  append(system_.toCodePage(text));
  append("\r\n");
  endOperation();
}

void OutputChannel::close() {
  if (!buffer_.empty()) send();
  if (pending_ == 0 && file_) {
    pending_ = file_->close();
    file_.reset();
  }
  check();
}

void OutputChannel::append(std::string_view bytes) {
  for (char byte : bytes) {
    if (pending_ != 0) return;  // the rest of a failed operation need not reach the target
    buffer_ += byte;
    if (buffer_.size() == kBufferSize) send();
  }
}

void OutputChannel::send() {
  if (file_ && pending_ == 0) pending_ = file_->write(buffer_);
  buffer_.clear();
}

void OutputChannel::endOperation() {
  if (character_ && !buffer_.empty()) send();
  check();
}

void OutputChannel::check() {
  if (pending_ == 0) return;
  const int code = pending_;
  pending_ = 0;
  release();
  throw core::EInOutError(code, ioErrorMessage(code, target_));
}

void OutputChannel::release() {
  if (file_) file_->close();
  file_.reset();
  buffer_.clear();
}

}  // namespace direct
