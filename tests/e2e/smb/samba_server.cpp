#include "tests/e2e/smb/samba_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

// A port nobody listens on now: the kernel's choice for a socket bound to port 0.
int freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(s);
  return port;
}

bool accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(s);
  return ok;
}

std::string userName() {
  const passwd* user = ::getpwuid(::geteuid());
  return user ? user->pw_name : "root";
}

}  // namespace

SambaServer::SambaServer() {
  // smbd's children outlive it by a moment; as their subreaper this process can wait for
  // every one of them to be gone, so no server is left behind and the port is free again.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  for (const char* sub :
       {"private", "lock", "state", "cache", "pid", "ncalrpc", "spool", "jobs", "incoming"})
    fs::create_directories(dir_.path() / sub);
  fs::permissions(dir_.path() / "spool", fs::perms::all | fs::perms::sticky_bit);
  for (int attempt = 0; attempt < 3; ++attempt)
    if (start(freePort())) return;
  throw std::runtime_error("smbd did not start:\n" + log());
}

SambaServer::~SambaServer() {
  stop();
}

bool SambaServer::start(int port) {
  port_ = port;
  const std::string dir = dir_.path().string();
  // A job is copied aside and then renamed into jobs/, so a job seen there is complete.
  writeFile(dir + "/smb.conf",
            "[global]\n"
            "  server role = standalone server\n"
            "  interfaces = 127.0.0.1\n"
            "  bind interfaces only = yes\n"
            "  smb ports = " +
                std::to_string(port) +
                "\n"
                "  map to guest = Bad User\n"
                "  guest account = " +
                userName() +
                "\n"
                "  private dir = " +
                dir +
                "/private\n"
                "  lock directory = " +
                dir +
                "/lock\n"
                "  state directory = " +
                dir +
                "/state\n"
                "  cache directory = " +
                dir +
                "/cache\n"
                "  pid directory = " +
                dir +
                "/pid\n"
                "  ncalrpc dir = " +
                dir +
                "/ncalrpc\n"
                "  load printers = no\n"
                "  printing = bsd\n"
                "  printcap name = /dev/null\n"
                "  disable spoolss = yes\n"
                "[TLP2844]\n"
                "  path = " +
                dir +
                "/spool\n"
                "  printable = yes\n"
                "  guest ok = yes\n"
                "  print command = cp %s " +
                dir + "/incoming/%s && mv " + dir + "/incoming/%s " + dir +
                "/jobs/%s; rm %s\n"
                "  lpq command = /bin/true\n"
                "  lprm command = /bin/true\n"
                "[PRIVADA]\n"
                "  path = " +
                dir +
                "/spool\n"
                "  printable = yes\n"
                "  guest ok = no\n"
                "  print command = rm %s\n"
                "  lpq command = /bin/true\n"
                "  lprm command = /bin/true\n");

  const std::string config = "--configfile=" + dir + "/smb.conf";
  const std::string logPath = dir + "/smbd.log";
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setpgid(0, 0);
    const int out = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(out, STDERR_FILENO);
    ::execl(QUOLT_SMBD, "smbd", "--foreground", "--no-process-group", config.c_str(),
            "--debug-stdout", "-d", "1", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid_ < 0) throw std::runtime_error("fork failed");
  ::setpgid(pid_, pid_);
  group_ = pid_;

  // Up in about two seconds; the bound only keeps a broken machine from hanging the test.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < giveUp) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {  // gone: the port was taken, or worse
      pid_ = -1;
      stop();  // reaps what it may have started
      return false;
    }
    if (accepts(port)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  stop();
  return false;
}

void SambaServer::stop() {
  if (group_ < 0) return;
  const pid_t group = group_;
  group_ = -1;
  if (pid_ > 0) ::kill(pid_, SIGTERM);
  pid_ = -1;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(-group, &status, WNOHANG);
    if (done < 0) return;  // every process of the server has been reaped
    if (done == 0) {
      if (std::chrono::steady_clock::now() > giveUp) ::kill(-group, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
}

std::string SambaServer::shareName(const std::string& share) const {
  return "\\\\127.0.0.1:" + std::to_string(port_) + "\\" + share;
}

std::vector<std::string> SambaServer::jobs() const {
  std::vector<std::string> result;
  for (const auto& entry : fs::directory_iterator(dir_.path() / "jobs"))
    result.push_back(readFile(entry.path().string()));
  return result;
}

void SambaServer::clearJobs() const {
  for (const auto& entry : fs::directory_iterator(dir_.path() / "jobs")) fs::remove(entry.path());
}

std::string SambaServer::log() const {
  return readFile(dir_.path().string() + "/smbd.log");
}

}  // namespace testing_support
