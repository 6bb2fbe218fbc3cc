#include "platform/posix/system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

#include "platform/posix/codepage.h"
#include "platform/posix/profile.h"
#include "platform/posix/smb_share.h"

namespace posix {

namespace {

// Windows system error codes the channel's messages are chosen by.
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kBadNetPath = 53;
constexpr int kDiskFull = 112;
constexpr int kInvalidName = 123;
constexpr int kFilenameTooLong = 206;
constexpr int kPipeClosing = 232;
constexpr int kGenFailure = 31;
constexpr int kIoDevice = 1117;

class File : public os::OutputFile {
 public:
  File(int fd, bool owned) : fd_(fd), owned_(owned) {}
  ~File() override { close(); }

  os::FileType type() const override {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return os::FileType::Unknown;
    if (S_ISCHR(st.st_mode)) return os::FileType::Char;
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return os::FileType::Pipe;
    return os::FileType::Disk;
  }

  int write(std::string_view bytes) override {
    while (!bytes.empty()) {
      ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return windowsErrorCode(errno);
      if (n == 0) return kIoDevice;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
  }

  int close() override {
    if (fd_ < 0) return 0;
    int fd = fd_;
    fd_ = -1;
    if (!owned_) return 0;
    return ::close(fd) == 0 || errno == EINTR ? 0 : windowsErrorCode(errno);
  }

 private:
  int fd_;
  bool owned_;
};

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::optional<std::string> portDevice(std::string_view name, const std::string& deviceFolder) {
  for (int n = 1; n <= 6; ++n) {
    if (n <= 3 && equalsNoCase(name, "LPT" + std::to_string(n)))
      return deviceFolder + "lp" + std::to_string(n - 1);
    if (equalsNoCase(name, "COM" + std::to_string(n)))
      return deviceFolder + "ttyS" + std::to_string(n - 1);
  }
  return std::nullopt;
}

int windowsErrorCode(int error) {
  switch (error) {
    case ENOENT: case ENXIO: case ENODEV: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EMFILE: case ENFILE: return kTooManyOpenFiles;
    case EACCES: case EPERM: case EROFS: case EISDIR: case ETXTBSY: return kAccessDenied;
    case ENOSPC: case EDQUOT: case EFBIG: return kDiskFull;
    case ENAMETOOLONG: return kFilenameTooLong;
    case EPIPE: case ECONNRESET: return kPipeClosing;
    case EHOSTUNREACH: case ENETUNREACH: case ECONNREFUSED: case ETIMEDOUT: return kBadNetPath;
    case EIO: return kIoDevice;
    case EINVAL: case EILSEQ: return kInvalidName;
    default: return kGenFailure;
  }
}

System::System(std::string deviceFolder) : deviceFolder_(std::move(deviceFolder)) {
  // A reader that goes away is an I/O error of the write, never the end of the program.
  std::signal(SIGPIPE, SIG_IGN);
}

std::string System::executablePath() {
  std::string path(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
  path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return path;
}

std::string System::executableFolder() {
  std::string path = executablePath();
  return path.substr(0, path.rfind('/') + 1);
}

std::optional<os::FileVersion> System::fileVersion() {
  return os::FileVersion{(QUOLT_VERSION_MAJOR << 16) | QUOLT_VERSION_MINOR,
                         (QUOLT_VERSION_PATCH << 16) | QUOLT_VERSION_TWEAK};
}

std::string System::readProfileString(const std::string& path, std::string_view section,
                                      std::string_view key) {
  return posix::readProfileString(path, section, key);
}

bool System::writeProfileString(const std::string& path, std::string_view section,
                                std::string_view key, std::string_view value) {
  return posix::writeProfileString(path, section, key, value);
}

std::string System::toCodePage(std::string_view utf8) { return utf8ToCp1252(utf8); }

std::string System::fromCodePage(std::string_view bytes) { return cp1252ToUtf8(bytes); }

os::Opened System::createOutput(const std::string& name) {
  // \\HOST\SHARE is another workstation's printer, never a file of that strange name.
  if (isShareName(name)) return openShare(name);
  // A port is opened as it is, never created: a missing device is a port that does not exist,
  // not a file to make in the device folder. Any other name is created or emptied, and a
  // missing folder on its way is a path that does not exist.
  const auto device = portDevice(name, deviceFolder_);
  const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | (device ? 0 : O_CREAT | O_TRUNC);
  int fd = ::open(device ? device->c_str() : name.c_str(), flags, 0666);
  if (fd < 0) {
    const int code = windowsErrorCode(errno);
    return {nullptr, !device && code == kFileNotFound ? kPathNotFound : code};
  }
  return {std::make_unique<File>(fd, true), 0};
}

os::Opened System::standardOutput() { return {std::make_unique<File>(STDOUT_FILENO, false), 0}; }

}  // namespace posix
