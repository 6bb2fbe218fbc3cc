// Stands in for a printer on a serial port: makes a pseudo-terminal, links `link` to its
// slave (the port the program under test opens) and copies every byte written there into
// `out`, unchanged, until it is stopped.
//   pty_capture <link> <out>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pty_capture <link> <out>\n");
    return 2;
  }
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return 1;
  const char* slaveName = ptsname(master);
  // Raw, so the line discipline adds and drops nothing; held open so the master never sees
  // a hang-up between the program's opens.
  int slave = open(slaveName, O_RDWR | O_NOCTTY);
  termios mode{};
  if (slave < 0 || tcgetattr(slave, &mode) != 0) return 1;
  cfmakeraw(&mode);
  if (tcsetattr(slave, TCSANOW, &mode) != 0) return 1;
  int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || symlink(slaveName, argv[1]) != 0) return 1;
  char buffer[4096];
  while (true) {
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 1;
    if (write(out, buffer, static_cast<std::size_t>(n)) != n) return 1;
  }
}
