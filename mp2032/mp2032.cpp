// Our stand-in for the printer maker's library Mp2032, written from what quolt_autenticador_dll
// needs of it. It drives a printer that takes plain text: the port is opened by name, the
// authentication is written to it as one line.
//
// For tests two environment variables reach in from outside (the programs never read them):
//   MP2032_JOURNAL   a file that gets one line per call, appended: the call with its
//                    arguments and the result, e.g.  IniciaPorta("USB") -> 1
//                    Text arguments are quoted; a quote, a backslash and every byte outside
//                    printable ASCII are written as \" \\ and \xHH. A null pointer is NULL.
//   MP2032_SCENARIO  a file that forces results, one function a line:
//                        # a comment
//                        DocumentInserted=-2
//                        IniciaPorta=0,real,-1
//                    The n-th call of a function takes the n-th value, the last value holding
//                    for every later call. A number is answered instead of doing the work;
//                    "real" does the work. Calls are counted from the moment the variable
//                    names the file; naming another file starts the count again. The file is
//                    read at every call, so a test may change it between calls. A line that
//                    makes no sense is reported on the standard error and ignored.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mp2032/port.h"
#include "vendor/modulo.h"

namespace {

constexpr std::int32_t kDone = 1;
constexpr std::int32_t kFailed = 0;
constexpr std::int32_t kInvalidParameter = -2;
// The only model the stand-in knows; both document printers use it.
constexpr std::int32_t kModelCode = 1;
// DocumentInserted cannot sense paper: neither "inserted" nor -2, "not inserted".
constexpr std::int32_t kCannotTell = 0;

const char* const kFunctions[] = {"IniciaPorta", "FechaPorta", "ConfiguraModeloImpressora",
                                  "DocumentInserted", "AutenticaDoc"};

// What the library holds between calls. The model needs no keeping: there is only one.
std::unique_ptr<os::OutputFile> port;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool readWhole(const std::string& path, std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  content.clear();
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  std::fclose(file);
  return true;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::optional<std::int32_t> number(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// One scenario value: a forced result, or nothing for "do the work".
using Answer = std::optional<std::int32_t>;

class Scenario {
 public:
  // The forced result of the next call of `function`, if any; counts the call.
  Answer next(const std::string& function) {
    const std::string path = environment("MP2032_SCENARIO");
    if (path != path_) {
      path_ = path;
      calls_.clear();
      content_.clear();
      answers_.clear();
      missingReported_ = false;
    }
    const std::size_t call = calls_[function]++;
    if (path.empty()) return std::nullopt;

    std::string content;
    if (!readWhole(path, content)) {
      if (!missingReported_)
        std::fprintf(stderr, "mp2032: scenario %s cannot be read; no result is forced\n",
                     path.c_str());
      missingReported_ = true;
      return std::nullopt;
    }
    if (content != content_) parse(content);

    auto it = answers_.find(function);
    if (it == answers_.end()) return std::nullopt;
    const auto& values = it->second;
    return values[call < values.size() ? call : values.size() - 1];
  }

 private:
  void parse(const std::string& content) {
    content_ = content;
    answers_.clear();
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= content.size();) {
      std::size_t end = content.find('\n', start);
      if (end == std::string::npos) end = content.size();
      ++lineNumber;
      parseLine(trimmed(std::string_view(content).substr(start, end - start)), lineNumber);
      start = end + 1;
    }
  }

  void parseLine(std::string_view line, std::size_t lineNumber) {
    if (line.empty() || line.front() == '#') return;
    auto problem = [&](const char* what) {
      std::fprintf(stderr, "mp2032: scenario %s line %zu: %s: %.*s\n", path_.c_str(), lineNumber,
                   what, static_cast<int>(line.size()), line.data());
    };
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return problem("no '=' in the line");
    const std::string function(trimmed(line.substr(0, equals)));
    bool known = false;
    for (const char* f : kFunctions) known = known || function == f;
    if (!known) return problem("no such function");

    std::vector<Answer> values;
    std::string_view rest = line.substr(equals + 1);
    while (true) {
      const std::size_t comma = rest.find(',');
      const std::string_view item = trimmed(rest.substr(0, comma));
      if (item == "real") {
        values.emplace_back(std::nullopt);
      } else if (auto value = number(item)) {
        values.emplace_back(*value);
      } else {
        return problem("a value is neither a 32-bit number nor \"real\"");
      }
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    answers_[function] = std::move(values);
  }

  std::string path_;
  std::string content_;
  std::map<std::string, std::vector<Answer>> answers_;
  std::map<std::string, std::size_t> calls_;
  bool missingReported_ = false;
};

Scenario scenario;

std::string quoted(const char* text) {
  if (text == nullptr) return "NULL";
  std::string out = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// Appends the call to the journal, if one is named, and hands back its result.
std::int32_t journal(const std::string& call, std::int32_t result) {
  const std::string path = environment("MP2032_JOURNAL");
  if (path.empty()) return result;
  const std::string line = call + " -> " + std::to_string(result) + "\n";
  if (std::FILE* file = std::fopen(path.c_str(), "ab")) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
  return result;
}

std::int32_t closePort() {
  if (!port) return kDone;  // nothing open is as good as closed
  const int error = port->close();
  port.reset();
  return error == 0 ? kDone : kFailed;
}

// Runs one call: the forced result if the scenario has one, otherwise the work. No error may
// leave the library, so anything thrown is a failed call.
template <typename Work>
std::int32_t call(const char* function, const std::string& arguments, Work work) {
  std::int32_t result = kFailed;
  try {
    const Answer forced = scenario.next(function);
    result = forced ? *forced : work();
  } catch (...) {
    result = kFailed;
  }
  try {
    return journal(std::string(function) + "(" + arguments + ")", result);
  } catch (...) {
    return result;
  }
}

}  // namespace

extern "C" {

std::int32_t MP2032_CALL IniciaPorta(const char* porta) {
  return call("IniciaPorta", quoted(porta), [&] {
    closePort();  // the library holds one port at a time
    if (porta == nullptr) return kFailed;
    os::Opened opened = mp2032::openPort(porta);
    if (!opened.file) return kFailed;
    port = std::move(opened.file);
    return kDone;
  });
}

std::int32_t MP2032_CALL FechaPorta() {
  return call("FechaPorta", "", closePort);
}

std::int32_t MP2032_CALL ConfiguraModeloImpressora(std::int32_t modelo) {
  return call("ConfiguraModeloImpressora", std::to_string(modelo),
              [&] { return modelo == kModelCode ? kDone : kInvalidParameter; });
}

std::int32_t MP2032_CALL DocumentInserted() {
  return call("DocumentInserted", "", [] { return kCannotTell; });
}

// The write is synchronous and ends by itself, so the time limit has nothing to bound.
std::int32_t MP2032_CALL AutenticaDoc(const char* texto, std::int32_t tempo) {
  return call("AutenticaDoc", quoted(texto) + ", " + std::to_string(tempo), [&] {
    if (!port) return kFailed;
    const std::string line = std::string(texto == nullptr ? "" : texto) + "\r\n";
    return port->write(line) == 0 ? kDone : kFailed;
  });
}

}  // extern "C"
