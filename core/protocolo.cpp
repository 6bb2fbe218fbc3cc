#include "core/protocolo.h"

#include "core/errors.h"

namespace core {

namespace {

bool isSeparator(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// Drops the last character of a UTF-8 text, continuation bytes and all.
void dropLastCharacter(std::string& text) {
  while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
    text.pop_back();
  if (!text.empty()) text.pop_back();
}

std::string replaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  std::size_t from = 0;
  for (auto at = text.find(what); at != text.npos; at = text.find(what, from)) {
    out.append(text.substr(from, at - from)).append(with);
    from = at + what.size();
  }
  return out.append(text.substr(from));
}

}  // namespace

const std::string& StringList::operator[](std::size_t index) const {
  if (index >= items_.size())
    throw EListError(format("List index out of bounds (%d)", static_cast<long long>(index)));
  return items_[index];
}

StringList Quebra(std::string_view input, char /*separador: always the blank*/) {
  const char quote = '"';
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (true) {
    while (i < input.size() && isSeparator(input[i])) ++i;
    if (i >= input.size()) break;

    std::string token;
    if (input[i] != quote) {
      while (i < input.size() && !isSeparator(input[i])) token += input[i++];
    } else {
      ++i;
      bool closed = false;
      while (i < input.size()) {
        if (input[i] == quote) {
          if (i + 1 < input.size() && input[i + 1] == quote) {
            token += quote;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        token += input[i++];
      }
      if (!closed) dropLastCharacter(token);
    }
    tokens.push_back(std::move(token));
  }
  return StringList(std::move(tokens));
}

void parseProtocol(std::string_view text, ProtocolFields& fields) {
  fields = {};
  const std::string s = replaceAll(text, "PROTOC:", "&");

  const auto amp = s.find('&');
  std::string rest;
  if (amp == s.npos) {
    rest = s;
  } else {
    fields.strNomeEntidade = s.substr(0, amp);
    rest = s.substr(amp + 1);
  }

  rest = replaceAll(rest, "  ", " ");
  const StringList tokens = Quebra(rest, ' ');
  fields.strProtocolo = tokens[0];
  fields.strDataProtocolo = tokens[1];
  fields.strHoraProtocolo = tokens[2];
}

}  // namespace core
