// The stored-index conversion against a plain reference: the same value for every accepted
// text, a conversion error for every other.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/settings.h"

namespace {

std::optional<std::int32_t> reference(const std::string& s) {
  std::size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  int base = 10;
  if (s.compare(i, 1, "$") == 0 || s.compare(i, 1, "x") == 0 || s.compare(i, 1, "X") == 0) {
    base = 16;
    i += 1;
  } else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  const std::string digits = s.substr(i);
  if (digits.empty()) return std::nullopt;
  for (char c : digits)
    if (!(c >= '0' && c <= '9') && !(base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))))
      return std::nullopt;
  const std::string trimmed = digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
  if (trimmed.size() > 10) return std::nullopt;
  const unsigned long long v = std::stoull(trimmed, nullptr, base);
  if (base == 16) {
    if (v > 0xFFFFFFFFull) return std::nullopt;
    auto bits = static_cast<std::uint32_t>(v);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  const long long signedValue = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(signedValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::optional<std::int32_t> got;
  try {
    got = core::storedIndex(text, core::Program::Direct);
  } catch (const core::EConvertError& e) {
    // The message is a C string: a stored zero byte ends it there.
    const std::string expected = "''" + text + "'' is not a valid integer value";
    if (std::string(e.what()) != std::string(expected.c_str())) std::abort();
  }
  if (got != reference(text)) std::abort();
  return 0;
}
