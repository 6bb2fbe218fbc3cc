#include "platform/posix/smb_share.h"

#include <libsmbclient.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/posix/system.h"

namespace posix {

namespace {

// Windows system error codes for what can go wrong on the way to a share.
constexpr int kPathNotFound = 3;     // a name that is no \\HOST\SHARE
constexpr int kAccessDenied = 5;     // the server refused the login or the share
constexpr int kBadNetPath = 53;      // no server by that name, or none answering
constexpr int kNetNameDeleted = 64;  // the connection went away during the job
constexpr int kBadNetName = 67;      // the server has no share by that name
constexpr int kDiskFull = 112;

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

// The desk knows nothing but the share's name: the session is a guest's, as a workstation
// that shares its printer with everybody grants it.
void guestLogin(SMBCCTX*, const char*, const char*, char*, int, char* user, int userLength,
                char* password, int passwordLength) {
  if (userLength > 0) std::snprintf(user, static_cast<std::size_t>(userLength), "%s", "guest");
  if (passwordLength > 0) password[0] = '\0';
}

int openErrorCode(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENOTDIR:
      return kBadNetName;
    case EACCES:
    case EPERM:
      return kAccessDenied;
    // The client library reports a host name it cannot resolve as EINVAL.
    case EINVAL:
    case ECONNREFUSED:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ETIMEDOUT:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN:
    case EPIPE:
      return kBadNetPath;
    default:
      return windowsErrorCode(error);
  }
}

int jobErrorCode(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EACCES:
    case EPERM:
      return kAccessDenied;
    default:
      return kNetNameDeleted;
  }
}

struct ContextDeleter {
  void operator()(SMBCCTX* context) const { smbc_free_context(context, 1); }
};
using Context = std::unique_ptr<SMBCCTX, ContextDeleter>;

class PrintJob : public os::OutputFile {
 public:
  PrintJob(Context context, SMBCFILE* file) : context_(std::move(context)), file_(file) {}
  ~PrintJob() override { close(); }

  // A redirected file, as Windows reports a share's handle: a block channel.
  os::FileType type() const override { return os::FileType::Disk; }

  int write(std::string_view bytes) override {
    if (!file_) return kNetNameDeleted;
    auto writeFn = smbc_getFunctionWrite(context_.get());
    while (!bytes.empty()) {
      errno = 0;
      ssize_t n = writeFn(context_.get(), file_, bytes.data(), bytes.size());
      if (n <= 0) return jobErrorCode(errno);
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
  }

  // Closing the file is what submits the job; only a close the server confirmed is success.
  // A job whose write failed is closed all the same: the failure has already reached the
  // operator, and the server decides what to do with the part it holds.
  int close() override {
    if (!file_) return 0;
    SMBCFILE* file = file_;
    file_ = nullptr;
    errno = 0;
    const int result = smbc_getFunctionClose(context_.get())(context_.get(), file);
    const int error = errno;
    context_.reset();
    return result == 0 ? 0 : jobErrorCode(error);
  }

 private:
  Context context_;
  SMBCFILE* file_;
};

std::string percentEncoded(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += c;
    } else {
      out += '%';
      out += hex[byte >> 4];
      out += hex[byte & 0x0F];
    }
  }
  return out;
}

}  // namespace

bool isShareName(const std::string& name) {
  return name.size() >= 2 && isSeparator(name[0]) && isSeparator(name[1]);
}

std::optional<ShareName> parseShareName(const std::string& name) {
  if (!isShareName(name)) return std::nullopt;
  const std::string rest = name.substr(2);
  const auto separator = std::find_if(rest.begin(), rest.end(), isSeparator);
  if (separator == rest.end()) return std::nullopt;
  std::string host(rest.begin(), separator);
  std::string share(separator + 1, rest.end());
  if (share.empty() || std::find_if(share.begin(), share.end(), isSeparator) != share.end())
    return std::nullopt;

  int port = 0;
  if (const auto colon = host.find(':'); colon != std::string::npos) {
    const std::string digits = host.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    for (char c : digits)
      if (c < '0' || c > '9') return std::nullopt;
    port = std::stoi(digits);
    if (port < 1 || port > 65535) return std::nullopt;
    host.resize(colon);
  }
  if (host.empty()) return std::nullopt;
  return ShareName{host, port, share};
}

std::string shareUrl(const ShareName& share) {
  std::string url = "smb://" + percentEncoded(share.host);
  if (share.port != 0) url += ":" + std::to_string(share.port);
  return url + "/" + percentEncoded(share.share);
}

os::Opened openShare(const std::string& name) {
  const auto share = parseShareName(name);
  if (!share) return {nullptr, kPathNotFound};

  Context context(smbc_new_context());
  if (!context) return {nullptr, windowsErrorCode(errno)};
  smbc_setDebug(context.get(), 0);
  // The standard output may be some other channel's target; the library's notes go elsewhere.
  smbc_setOptionDebugToStderr(context.get(), 1);
  smbc_setFunctionAuthDataWithContext(context.get(), guestLogin);
  if (!smbc_init_context(context.get())) {
    const int error = errno;
    smbc_free_context(context.release(), 0);  // never initialised: nothing to shut down
    return {nullptr, windowsErrorCode(error)};
  }

  errno = 0;
  SMBCFILE* file =
      smbc_getFunctionOpenPrintJob(context.get())(context.get(), shareUrl(*share).c_str());
  if (!file) return {nullptr, openErrorCode(errno)};
  return {std::make_unique<PrintJob>(std::move(context), file), 0};
}

}  // namespace posix
