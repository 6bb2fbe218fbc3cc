// Printer shares on Linux. A target name that begins with two backslashes (or slashes),
// \\HOST\SHARE, is the printer another workstation shares, as on Windows; the bytes reach it
// over SMB as one raw print job: opened at open, written at each write, submitted at close.
#pragma once

#include <optional>
#include <string>

#include "platform/os.h"

namespace posix {

struct ShareName {
  std::string host;
  int port = 0;  // 0: the SMB ports the client library tries by default
  std::string share;
};

// Whether the name is meant as a share: its first two characters are separators.
bool isShareName(const std::string& name);

// The parts of \\HOST\SHARE or //HOST/SHARE (either separator anywhere, as Windows takes
// them). HOST may end in ":PORT" (1-65535) for a server on another port, which Windows names
// cannot express. Nothing when a part is missing or empty, when the name goes on past the
// share (a file inside a share is no printer) or when the port is no number in range.
std::optional<ShareName> parseShareName(const std::string& name);

// The smb:// address of the share, host and share percent-encoded so that no character of
// the name can turn into credentials, options or another path.
std::string shareUrl(const ShareName& share);

// Opens one print job on the share, logged in as guest. Failures carry the codes Windows
// gives for the same cause: 3 a malformed name, 53 a server that cannot be found or reached,
// 67 a share the server does not have, 5 a refused login, 1222 a machine without Samba's
// client library; a write or close on a connection that broke gives 64, the code of a network
// name no longer available.
os::Opened openShare(const std::string& name);

}  // namespace posix
