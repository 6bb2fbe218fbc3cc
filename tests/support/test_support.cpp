#include "tests/support/test_support.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace testing_support {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quolt-test-XXXXXX").string();
  path_ = ::mkdtemp(pattern.data());
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void giveToUnprivileged(const std::filesystem::path& folder) {
  if (::geteuid() != 0) return;
  if (const passwd* nobody = ::getpwnam("nobody"))
    if (::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) std::abort();
}

std::string asUnprivileged(const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) _exit(2);
    std::string out = body();
    if (::write(fds[1], out.data(), out.size()) < 0) _exit(3);
    _exit(0);
  }
  ::close(fds[1]);
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return out;
}

}  // namespace testing_support
