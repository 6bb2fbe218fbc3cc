// The protocol fields of the authentication text: entity name, then the marker "PROTOC:",
// then protocol number, date and time separated by blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// The list `Quebra` returns: the tokens in order, duplicates and empty ones kept. Reading
// beyond its end raises EListError "List index out of bounds (%d)".
class StringList {
 public:
  explicit StringList(std::vector<std::string> items) : items_(std::move(items)) {}
  const std::string& operator[](std::size_t index) const;
  std::size_t count() const { return items_.size(); }

 private:
  std::vector<std::string> items_;
};

// Tokenises like a delimited-text split on the blank: characters 1 to 32 separate, a token
// that opens with a double quote runs to its closing quote with "" standing for one quote,
// and a quoted token left open takes the rest of the text less its last character.
StringList Quebra(std::string_view input, char separador);

struct ProtocolFields {
  std::string strNomeEntidade;
  std::string strProtocolo;
  std::string strDataProtocolo;
  std::string strHoraProtocolo;
};

// Sets the four fields from the text. Each field is assigned before the next token is read,
// so when the text has fewer than three tokens the error leaves the earlier fields set.
void parseProtocol(std::string_view text, ProtocolFields& fields);

}  // namespace core
