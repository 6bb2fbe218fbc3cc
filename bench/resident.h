// Resident memory of this process, for the benchmarks' memory figures.
#pragma once

#include <fstream>
#include <string>

inline long residentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}
