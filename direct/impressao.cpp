#include "direct/impressao.h"

#include "direct/canal.h"

namespace direct {

std::string trimControls(std::string_view text) {
  auto isControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && isControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && isControl(text.back())) text.remove_suffix(1);
  return std::string(text);
}

void writeDocument(os::System& system, const std::string& port, bool replicate,
                   const std::string& text) {
  OutputChannel channel(system);
  channel.open(port);
  if (replicate) channel.write("\x1b" "a1" + text + "\r" "\x1b" "a0");
  channel.writeLine(text);
  channel.close();
}

std::string zplFieldData(std::string_view utf8) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7F || c == '\\' || c == '^' || c == '~') {
      out += '\\';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> labelProgram(const core::ProtocolFields& fields) {
  std::vector<std::string> lines = {
      "\x10" "CT~~CD,~CC^~CT~", "^XA", "~TA000", "^JSN", "^LT0", "^MNN", "^MTT", "^PON",
      "^PMN", "^LH0,0", "^JMA", "^PR2,2", "~SD15", "^JUS", "^LRN", "^CI27", "^PA0,1,1,0",
      "^XZ", "^XA", "^MMT", "^PW527", "^LL406", "^LS0"};

  auto field = [](const char* start, const std::string& value) {
    return std::string(start) + "^FH\\^CI28^FD" + zplFieldData(value) + "^FS^CI27";
  };
  if (fields.strNomeEntidade.empty()) {
    lines.push_back("^FT85,87^A0N,23,23^FH\\^CI28^FDComprovante de Protocolo^FS^CI27");
  } else {
    lines.push_back(field("^FT85,87^A0N,23,23", fields.strNomeEntidade));
    lines.push_back(
        "^FT144,125^A0N,23,23^FB248,1,6,C^FH\\^CI28^FDComprovante de Protocolo^FS^CI27");
  }
  lines.push_back(field("^FT59,221^A0N,34,33", fields.strProtocolo));
  lines.push_back(field("^FT59,264^A0N,34,33", fields.strDataProtocolo));
  lines.push_back(field("^FT59,307^A0N,34,33", fields.strHoraProtocolo));
  lines.push_back("^PQ1,0,1,Y");
  lines.push_back("^XZ");
  return lines;
}

void writeLabel(os::System& system, const std::string& target,
                const core::ProtocolFields& fields) {
  OutputChannel channel(system);
  channel.open(target);
  for (const auto& line : labelProgram(fields)) channel.writeLine(line);
  channel.close();
}

}  // namespace direct
