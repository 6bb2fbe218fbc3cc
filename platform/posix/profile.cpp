#include "platform/posix/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <vector>

namespace posix {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (isBlank(s.front()) || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file, its end ("\n", "\r\n" or none for the last) kept apart.
struct Line {
  std::string_view text;
  std::string_view end;
};

std::vector<Line> splitLines(std::string_view content) {
  std::vector<Line> lines;
  while (!content.empty()) {
    auto nl = content.find('\n');
    if (nl == content.npos) {
      lines.push_back({content, {}});
      break;
    }
    std::size_t textEnd = nl > 0 && content[nl - 1] == '\r' ? nl - 1 : nl;
    lines.push_back({content.substr(0, textEnd), content.substr(textEnd, nl + 1 - textEnd)});
    content.remove_prefix(nl + 1);
  }
  return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == line.npos) close = line.size();
  return trimBlanks(line.substr(1, close - 1));
}

std::optional<std::string_view> keyName(std::string_view line) {
  auto eq = line.find('=');
  if (eq == line.npos) return std::nullopt;
  return trimBlanks(line.substr(0, eq));
}

// Where a key stands in the file: the line of the section header and of the key, if found.
struct Place {
  std::optional<std::size_t> section;
  std::optional<std::size_t> key;
  std::size_t sectionEnd = 0;  // one past the section's last non-empty line
};

Place find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  std::size_t i = 0;
  for (; i < lines.size(); ++i) {
    auto name = sectionName(lines[i].text);
    if (name && sameName(*name, section)) break;
  }
  if (i == lines.size()) return place;
  place.section = i;
  place.sectionEnd = i + 1;
  for (++i; i < lines.size() && !sectionName(lines[i].text); ++i) {
    if (!trimBlanks(lines[i].text).empty()) place.sectionEnd = i + 1;
    auto name = keyName(lines[i].text);
    if (name && sameName(*name, key)) {
      place.key = i;
      return place;
    }
  }
  return place;
}

std::optional<std::string> readAll(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? std::optional<std::string>("") : std::nullopt;
  std::string content;
  char chunk[65536];
  while (true) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return content;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == path.npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Cuts a UTF-8 text after `limit` characters.
std::string cutCharacters(std::string_view text, std::size_t limit) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars++ == limit) return std::string(text.substr(0, i));
  }
  return std::string(text);
}

}  // namespace

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key) {
  auto content = readAll(path);
  if (!content) return {};
  auto lines = splitLines(*content);
  auto place = find(lines, section, key);
  if (!place.key) return {};
  std::string_view line = lines[*place.key].text;
  std::string_view value = trimBlanks(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return cutCharacters(value, kMaxProfileValue);
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, const std::function<void(WriteStep)>& atStep) {
  auto old = readAll(path);
  if (!old) return false;
  auto lines = splitLines(*old);
  auto place = find(lines, section, key);

  // New lines follow the file's own line ends; a new file gets those of Windows, the system the
  // host and the other program come from.
  const bool unixEnds = !old->empty() && old->find("\r\n") == old->npos;
  const std::string_view eol = unixEnds ? "\n" : "\r\n";
  // A value stays on its line whatever it holds.
  std::string entry = std::string(key) + "=";
  for (char c : value) entry += (c == '\r' || c == '\n') ? ' ' : c;

  std::string text;
  auto emit = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) text.append(lines[i].text).append(lines[i].end);
  };
  if (place.key) {
    emit(0, *place.key);
    text.append(entry).append(lines[*place.key].end.empty() ? eol : lines[*place.key].end);
    emit(*place.key + 1, lines.size());
  } else if (place.section) {
    emit(0, place.sectionEnd);
    if (lines[place.sectionEnd - 1].end.empty()) text.append(eol);  // the file's last line
    text.append(entry).append(eol);
    emit(place.sectionEnd, lines.size());
  } else {
    text = *old;
    if (!text.empty() && text.back() != '\n') text.append(eol);
    text.append("[").append(section).append("]").append(eol).append(entry).append(eol);
  }

  auto step = [&](WriteStep s) {
    if (atStep) atStep(s);
  };
  std::string temp = folderOf(path) + "/." + path.substr(path.rfind('/') + 1) + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  struct stat st {};
  mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
  if (mode == 0) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  step(WriteStep::TempCreated);
  bool ok = ::fchmod(fd, mode) == 0;
  const std::string_view all = text;
  ok = ok && writeAll(fd, all.substr(0, all.size() / 2));
  step(WriteStep::PartWritten);
  ok = ok && writeAll(fd, all.substr(all.size() / 2));
  step(WriteStep::Written);
  ok = ok && ::fsync(fd) == 0;
  step(WriteStep::Synced);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  step(WriteStep::Renamed);
  // Make the rename itself durable.
  int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace posix
