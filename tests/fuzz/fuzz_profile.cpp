// The private-profile writer and reader on any existing file: reading after a write gives back
// what was written (as the service hands values over), and every other line stays as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/posix/profile.h"

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      out.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) out.push_back(line);
  return out;
}

// What the service hands back of a written value.
std::string expectedRead(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!value.empty() && blank(value.front())) value.erase(value.begin());
  while (!value.empty() && blank(value.back())) value.pop_back();
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if ((static_cast<unsigned char>(value[i]) & 0xC0) == 0x80) continue;
    if (chars++ == posix::kMaxProfileValue) return value.substr(0, i);
  }
  return value;
}

std::string name(std::uint8_t pick) {
  static const char* names[] = {"QUOLT", "quolt", "SIS", "PORTA", "porta", "MODELO", "X"};
  return names[pick % 7];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string section = name(data[0]);
  const std::string key = name(data[1]);
  std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const auto cut = rest.find('\0');
  const std::string file = rest.substr(0, cut);
  const std::string value = cut == std::string::npos ? "" : rest.substr(cut + 1);

  static const std::string path = [] {
    char folder[] = "/tmp/quolt-fuzz-XXXXXX";
    return std::string(::mkdtemp(folder)) + "/Ravivavizuru.ini";
  }();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << file;

  if (!posix::writeProfileString(path, section, key, value)) std::abort();
  if (posix::readProfileString(path, section, key) != expectedRead(value)) std::abort();

  // Every old line but the one replaced is still there, in order.
  const auto before = lines(file);
  const auto after = lines(readAll(path));
  std::size_t j = 0, missing = 0;
  for (const auto& line : before) {
    std::size_t k = j;
    while (k < after.size() && after[k] != line) ++k;
    if (k == after.size()) {
      ++missing;
    } else {
      j = k + 1;
    }
  }
  if (missing > 1) std::abort();
  return 0;
}
