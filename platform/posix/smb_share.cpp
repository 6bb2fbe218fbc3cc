#include "platform/posix/smb_share.h"

#include <dlfcn.h>
#include <libsmbclient.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <type_traits>

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
constexpr int kNoNetwork = 1222;     // no SMB client on this machine

// Samba's client library and its dozens of companions are loaded at the first print to a
// share, not at every start: most desks print on a port, and every start would otherwise pay
// for loading them, a start without "OK" included.
struct Client {
  decltype(&smbc_new_context) newContext = nullptr;
  decltype(&smbc_free_context) freeContext = nullptr;
  decltype(&smbc_init_context) initContext = nullptr;
  decltype(&smbc_setDebug) setDebug = nullptr;
  decltype(&smbc_setOptionDebugToStderr) setDebugToStderr = nullptr;
  decltype(&smbc_setFunctionAuthDataWithContext) setAuth = nullptr;
  decltype(&smbc_getFunctionOpenPrintJob) openPrintJob = nullptr;
  decltype(&smbc_getFunctionWrite) write = nullptr;
  decltype(&smbc_getFunctionClose) close = nullptr;

  // Null when the library or one of its functions is missing.
  static const Client* get() {
    static const Client* client = load();
    return client;
  }

 private:
  static const Client* load() {
    void* library = ::dlopen("libsmbclient.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static Client c;
    bool complete = true;
    auto bind = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(::dlsym(library, name));
      complete = complete && function != nullptr;
    };
    bind(c.newContext, "smbc_new_context");
    bind(c.freeContext, "smbc_free_context");
    bind(c.initContext, "smbc_init_context");
    bind(c.setDebug, "smbc_setDebug");
    bind(c.setDebugToStderr, "smbc_setOptionDebugToStderr");
    bind(c.setAuth, "smbc_setFunctionAuthDataWithContext");
    bind(c.openPrintJob, "smbc_getFunctionOpenPrintJob");
    bind(c.write, "smbc_getFunctionWrite");
    bind(c.close, "smbc_getFunctionClose");
    return complete ? &c : nullptr;
  }
};

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
  void operator()(SMBCCTX* context) const { Client::get()->freeContext(context, 1); }
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
    auto writeFn = Client::get()->write(context_.get());
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
    const int result = Client::get()->close(context_.get())(context_.get(), file);
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

  const Client* client = Client::get();
  if (client == nullptr) return {nullptr, kNoNetwork};

  Context context(client->newContext());
  if (!context) return {nullptr, windowsErrorCode(errno)};
  client->setDebug(context.get(), 0);
  // The standard output may be some other channel's target; the library's notes go elsewhere.
  client->setDebugToStderr(context.get(), 1);
  client->setAuth(context.get(), guestLogin);
  if (!client->initContext(context.get())) {
    const int error = errno;
    client->freeContext(context.release(), 0);  // never initialised: nothing to shut down
    return {nullptr, windowsErrorCode(error)};
  }

  errno = 0;
  SMBCFILE* file = client->openPrintJob(context.get())(context.get(), shareUrl(*share).c_str());
  if (!file) return {nullptr, openErrorCode(errno)};
  return {std::make_unique<PrintJob>(std::move(context), file), 0};
}

}  // namespace posix
