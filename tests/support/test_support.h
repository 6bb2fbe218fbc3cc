// What the tests share: a scratch folder that goes away, and the Linux services with the
// executable's folder moved into it, so settings files are real files of the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "platform/posix/system.h"

namespace testing_support {

// Runs `body` as an unprivileged user when the tests run as root, who may write anywhere, and
// returns what it returned.
std::string asUnprivileged(const std::function<std::string()>& body);
// Makes a folder the unprivileged user's own when the tests run as root.
void giveToUnprivileged(const std::filesystem::path& folder);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// The working folder of the process (where the port "USB" is a file), restored afterwards.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path old_;
};

// The real Linux services, the executable taken to live in `folder`.
class SystemIn : public posix::System {
 public:
  explicit SystemIn(std::string folder, std::string deviceFolder = "/dev/")
      : posix::System(std::move(deviceFolder)), folder_(std::move(folder)) {
    if (folder_.back() != '/') folder_ += '/';
  }
  std::string executablePath() override { return folder_ + "quolt_autenticador"; }
  std::string executableFolder() override { return folder_; }

 private:
  std::string folder_;
};

}  // namespace testing_support
