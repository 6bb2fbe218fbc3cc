// The label builder on any field values: 29 or 30 lines of plain ASCII, and the data of every
// field line decodes back to the value exactly, with no "^" or "~" of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "direct/impressao.h"

namespace {

std::string decode(const std::string& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '^' || data[i] == '~') std::abort();
    if (data[i] != '\\') {
      out += data[i];
      continue;
    }
    if (i + 2 >= data.size()) std::abort();
    auto hex = [](char c) {
      if (c >= '0' && c <= '9') return c - '0';
      if (c >= 'A' && c <= 'F') return c - 'A' + 10;
      std::abort();
    };
    out += static_cast<char>(hex(data[i + 1]) * 16 + hex(data[i + 2]));
    i += 2;
  }
  return out;
}

void expectField(const std::string& line, const std::string& value) {
  const std::string start = "^FH\\^CI28^FD", end = "^FS^CI27";
  const auto from = line.find(start);
  if (from == std::string::npos || line.size() < from + start.size() + end.size()) std::abort();
  if (line.compare(line.size() - end.size(), end.size(), end) != 0) std::abort();
  const std::string data = line.substr(from + start.size(), line.size() - end.size() - from - start.size());
  if (decode(data) != value) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  core::ProtocolFields f;
  std::string* field[] = {&f.strNomeEntidade, &f.strProtocolo, &f.strDataProtocolo, &f.strHoraProtocolo};
  std::size_t n = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && n < 3) {
      ++n;
      continue;
    }
    *field[n] += static_cast<char>(data[i]);
  }
  const auto lines = direct::labelProgram(f);
  const std::size_t heading = f.strNomeEntidade.empty() ? 1 : 2;
  if (lines.size() != 28 + heading) std::abort();
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (char c : lines[i]) {
      auto b = static_cast<unsigned char>(c);
      if ((b < 0x20 || b >= 0x7F) && !(i == 0 && b == 0x10)) std::abort();
    }
  if (heading == 2) expectField(lines[23], f.strNomeEntidade);
  expectField(lines[23 + heading], f.strProtocolo);
  expectField(lines[24 + heading], f.strDataProtocolo);
  expectField(lines[25 + heading], f.strHoraProtocolo);
  return 0;
}
