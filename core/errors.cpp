#include "core/errors.h"

namespace core {

std::string errorBoxText(const std::string& message) {
  // The last character, not the last byte: a message ending in "Ã" ends in a letter too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

namespace {
std::string replaceFirst(const std::string& pattern, const std::string& placeholder,
                         const std::string& value) {
  auto at = pattern.find(placeholder);
  if (at == std::string::npos) return pattern;
  return pattern.substr(0, at) + value + pattern.substr(at + placeholder.size());
}
}  // namespace

std::string format(const std::string& pattern, const std::string& value) {
  return replaceFirst(pattern, "%s", value);
}

std::string format(const std::string& pattern, long long value) {
  return replaceFirst(pattern, "%d", std::to_string(value));
}

}  // namespace core
