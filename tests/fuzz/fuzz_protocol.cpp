// Quebra and the protocol parse take any text: they either set the fields or report a missing
// token by its position, and the entity name never holds the split character.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/errors.h"
#include "core/protocolo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  core::ProtocolFields fields;
  try {
    core::parseProtocol(text, fields);
  } catch (const core::EListError& e) {
    const std::string message = e.what();
    if (message != "List index out of bounds (0)" && message != "List index out of bounds (1)" &&
        message != "List index out of bounds (2)")
      std::abort();
  }
  if (fields.strNomeEntidade.find('&') != std::string::npos) std::abort();
  if (fields.strNomeEntidade.size() > text.size()) std::abort();

  const auto tokens = core::Quebra(text, ' ');
  for (std::size_t i = 0; i < tokens.count(); ++i)
    if (tokens[i].size() > text.size()) std::abort();
  return 0;
}
