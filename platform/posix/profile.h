// Private-profile (INI) files with the semantics the settings rely on from the Windows service:
// section and key names matched without regard to case, the first match wins, blanks around
// names and values ignored, one pair of enclosing quotes dropped from a value, values cut at
// 2047 characters, every other line kept byte for byte.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace posix {

inline constexpr std::size_t kMaxProfileValue = 2047;

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key);

// The moments of a write at which a crash is survivable; a test hook sees each of them.
enum class WriteStep { TempCreated, PartWritten, Written, Synced, Renamed };

// Replaces the file atomically: the new text goes to a temporary file in the same folder,
// which is flushed to disk and renamed over the old one, so a crash at any moment leaves the
// old file or the new one, never a mix. False when the file cannot be read or written.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value,
                        const std::function<void(WriteStep)>& atStep = nullptr);

}  // namespace posix
