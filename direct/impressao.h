// What quolt_autenticador sends: the document printers' byte sequence and the label printer's
// protocol receipt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/protocolo.h"
#include "platform/os.h"

namespace direct {

inline constexpr char kUsbShareMessage[] =
    "Para imprimir na ZEBRA GC420d via USB é obrigatório informar o compartilhamento da "
    "impressora!\rEx.: \\\\ESTACAO01\\TLP2844)";

// Removes characters with codes up to 32 from both ends.
std::string trimControls(std::string_view text);

// The authentication on a document printer: with `replicate`, first ESC "a1", the text, CR,
// ESC "a0" as one write; then the text as one line.
void writeDocument(os::System& system, const std::string& port, bool replicate,
                   const std::string& text);

// A field value as ZPL field data under ^FH\ and ^CI28: the UTF-8 bytes of "\", "^", "~" and
// of everything outside printable ASCII written as \XX, so nothing in it acts as a command.
std::string zplFieldData(std::string_view utf8);

// The label program, 29 lines without an entity name and 30 with one, without line ends.
std::vector<std::string> labelProgram(const core::ProtocolFields& fields);

// Writes the label program to `target`, one line at a time.
void writeLabel(os::System& system, const std::string& target, const core::ProtocolFields& fields);

}  // namespace direct
