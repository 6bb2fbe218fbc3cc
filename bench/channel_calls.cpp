// System calls of the output channel against the least the 128-byte buffer allows: a block
// target may not be written in pieces smaller than the buffer except at close, so the least is
// one open, ceil(bytes / 128) writes and one close.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "direct/impressao.h"
#include "platform/posix/system.h"

namespace {

class Counting : public posix::System {
 public:
  int opens = 0, writes = 0, closes = 0;
  std::size_t bytes = 0;

  os::Opened createOutput(const std::string& name) override {
    ++opens;
    auto opened = posix::System::createOutput(name);
    if (opened.file) opened.file = std::make_unique<Spy>(std::move(opened.file), *this);
    return opened;
  }

 private:
  struct Spy : os::OutputFile {
    Spy(std::unique_ptr<os::OutputFile> f, Counting& c) : file(std::move(f)), counts(c) {}
    os::FileType type() const override { return file->type(); }
    int write(std::string_view b) override {
      ++counts.writes;
      counts.bytes += b.size();
      return file->write(b);
    }
    int close() override {
      ++counts.closes;
      return file->close();
    }
    std::unique_ptr<os::OutputFile> file;
    Counting& counts;
  };
};

void report(const char* what, const Counting& c) {
  const int least = 2 + static_cast<int>((c.bytes + 127) / 128);
  const int made = c.opens + c.writes + c.closes;
  std::printf("%-34s %6zu bytes  %3d calls  least %3d  ratio %.2f\n", what, c.bytes, made, least,
              static_cast<double>(made) / least);
}

}  // namespace

int main() {
  const auto target = (std::filesystem::temp_directory_path() / "quolt-bench-channel").string();
  const std::string text(300, 'A');
  {
    Counting c;
    direct::writeDocument(c, target, false, text);
    report("document, 300 characters", c);
  }
  {
    Counting c;
    direct::writeDocument(c, target, true, text);
    report("document with roll copy", c);
  }
  for (const char* entity : {"", "PREFEITURA MUNICIPAL "}) {
    Counting c;
    direct::writeLabel(c, target, {entity, "001234/2026", "11/12/2026", "10:45"});
    report(*entity ? "receipt, 30 lines" : "receipt, 29 lines", c);
  }
  std::filesystem::remove(target);
}
