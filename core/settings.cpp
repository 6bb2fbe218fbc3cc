#include "core/settings.h"

#include <limits>

#include "core/errors.h"

namespace core {

namespace {

int digitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hex) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::int32_t storedIndex(const std::string& text, Program program) {
  auto fail = [&]() -> std::int32_t {
    const char* pattern = program == Program::Direct ? "''%s'' is not a valid integer value"
                                                     : "'%s' is not a valid integer value";
    throw EConvertError(format(pattern, text));
  };

  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return fail();

  // Accumulated in 64 bits; both limits are checked before they could be passed.
  const std::uint64_t limit = hex ? 0xFFFFFFFFull
                                  : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) +
                                        (negative ? 1 : 0);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int d = digitValue(text[i], hex);
    if (d < 0) return fail();
    value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
    if (value > limit) return fail();
  }

  if (hex) {
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) bits = ~bits + 1u;
    return static_cast<std::int32_t>(bits);
  }
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value))
                  : static_cast<std::int32_t>(value);
}

Settings::Settings(os::System& system, Program program) : system_(system), program_(program) {}

std::string Settings::pathOf(std::string_view fileName) const {
  return system_.executableFolder() + std::string(fileName);
}

std::string Settings::read(std::string_view key) {
  return system_.readProfileString(pathOf(kSettingsFile), kSettingsSection, key);
}

void Settings::write(std::string_view key, const std::string& value) {
  const std::string path = pathOf(kSettingsFile);
  if (!system_.writeProfileString(path, kSettingsSection, key, value))
    throw EIniFileException(format("Unable to write to %s", path));
}

void Settings::loadIndex(std::string_view key, ui::PickList& list) {
  const std::string value = read(key);
  if (!value.empty()) list.setSelectedIndex(storedIndex(value, program_));
}

void Settings::saveIndex(std::string_view key, const ui::PickList& list) {
  write(key, std::to_string(list.selectedIndex()));
}

bool Settings::textLocked() {
  return system_.readProfileString(pathOf(kHostFile), "SIS", "AUT_TRAVA") == "1";
}

}  // namespace core
