#pragma once

#include <string>
#include <vector>

namespace brillora::testing {

struct CliResult {
  int status = -1;  // exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the built brillora-cli with the given arguments (no shell involved).
CliResult RunCli(const std::vector<std::string>& args);

// The built program's folder.
std::string BinDir();

}  // namespace brillora::testing
