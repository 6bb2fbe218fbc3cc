// The printer settings in "Ravivavizuru.ini" and the host's lock flag in "sis.ini", both beside
// the executable, read and written one key at a time through the private-profile service.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os.h"
#include "platform/ui.h"

namespace core {

// The two programs read the same stored values against their own lists and word their
// conversion message differently.
enum class Program { Direct, Vendor };

inline constexpr char kSettingsFile[] = "Ravivavizuru.ini";
inline constexpr char kSettingsSection[] = "QUOLT";
inline constexpr char kHostFile[] = "sis.ini";

// Converts a stored index: blanks, an optional sign, then decimal digits or hexadecimal ones
// after "$", "x", "X", "0x" or "0X". Decimal must fit a signed 32-bit number, hexadecimal 32
// bits taken as two's complement. Anything else raises EConvertError.
std::int32_t storedIndex(const std::string& text, Program program);

class Settings {
 public:
  Settings(os::System& system, Program program);

  // The full path of a file beside the executable, built afresh each time.
  std::string pathOf(std::string_view fileName) const;

  std::string read(std::string_view key);
  // Raises EIniFileException "Unable to write to <path>" when the write fails.
  void write(std::string_view key, const std::string& value);

  // Reads an index and selects it; an empty value leaves the list alone, one naming no item
  // clears its selection.
  void loadIndex(std::string_view key, ui::PickList& list);
  void saveIndex(std::string_view key, const ui::PickList& list);

  // AUT_TRAVA of the host's file: only exactly "1" locks the text field.
  bool textLocked();

 private:
  os::System& system_;
  Program program_;
};

}  // namespace core
