// A real Samba server for the share tests: smbd in the foreground on 127.0.0.1 and a free
// port, from a private configuration in a scratch folder, with two printer shares. TLP2844
// lets guests print and stores each job as a file in jobs(); PRIVADA refuses guests.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace testing_support {

class SambaServer {
 public:
  // Starts the server and returns once it accepts connections; throws with the server's log
  // when it does not come up.
  SambaServer();
  ~SambaServer();
  SambaServer(const SambaServer&) = delete;
  SambaServer& operator=(const SambaServer&) = delete;

  // Ends the server and every process it started.
  void stop();

  int port() const { return port_; }
  // "\\127.0.0.1:PORT\SHARE", the name the desk would type, with the test's port.
  std::string shareName(const std::string& share) const;
  // The bytes of every job the server has printed, in no particular order.
  std::vector<std::string> jobs() const;
  void clearJobs() const;

 private:
  bool start(int port);
  std::string log() const;

  TempDir dir_;
  int port_ = 0;
  pid_t pid_ = -1;    // smbd itself, while it runs
  pid_t group_ = -1;  // its process group, until every member is reaped
};

}  // namespace testing_support
