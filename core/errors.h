// Framework errors: what the platform raises inside a handler. They end the running handler
// (and every handler that ran it) and reach the operator through the error box; the event loop
// goes on. Only the dispatcher catches them.
#pragma once

#include <stdexcept>
#include <string>

namespace core {

class FrameworkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A stored number that does not convert.
class EConvertError : public FrameworkError {
 public:
  using FrameworkError::FrameworkError;
};

// A list read beyond its end.
class EListError : public FrameworkError {
 public:
  using FrameworkError::FrameworkError;
};

// A settings file that cannot be written.
class EIniFileException : public FrameworkError {
 public:
  using FrameworkError::FrameworkError;
};

// A failed output operation, with the system's failure code.
class EInOutError : public FrameworkError {
 public:
  EInOutError(int code, const std::string& message) : FrameworkError(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// The text of the error box: a full stop is appended when the message's last character has a
// code above that of the full stop, so "File access denied" gets one and "(2)" does not.
std::string errorBoxText(const std::string& message);

// printf-style "%s" / "%d" filling for the system's message patterns.
std::string format(const std::string& pattern, const std::string& value);
std::string format(const std::string& pattern, long long value);

}  // namespace core
