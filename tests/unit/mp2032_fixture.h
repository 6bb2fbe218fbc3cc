// A test of the real stand-in library: a scratch folder as the current folder (where the port
// "USB" lives) and as the executable's folder, with the library's journal and scenario in it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "vendor/modulo.h"

class StandInTest : public ::testing::Test {
 protected:
  StandInTest() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    testing_support::writeFile(dir / "scenario.txt", "");
    ::setenv("MP2032_JOURNAL", (dir / "journal.txt").c_str(), 1);
    ::setenv("MP2032_SCENARIO", (dir / "scenario.txt").c_str(), 1);
  }

  ~StandInTest() override {
    ::FechaPorta();  // the library holds its port between calls, so between tests too
    ::unsetenv("MP2032_JOURNAL");
    ::unsetenv("MP2032_SCENARIO");
    std::filesystem::current_path(previous_);
  }

  void scenario(const std::string& content) {
    testing_support::writeFile(dir / "scenario.txt", content);
  }

  // The journal's lines from the `from`-th on.
  std::vector<std::string> journal(std::size_t from = 0) {
    const std::string text = testing_support::readFile(dir / "journal.txt");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
      end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
    }
    return lines.size() > from
               ? std::vector<std::string>(lines.begin() + static_cast<long>(from), lines.end())
               : std::vector<std::string>{};
  }

  testing_support::TempDir dir;

 private:
  std::filesystem::path previous_;
};
