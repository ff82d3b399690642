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

// The same with standard output sent to `outputFile` (such as /dev/full)
// instead of being collected.
CliResult RunCliWritingTo(const std::vector<std::string>& args, const std::string& outputFile);

// The built program's folder.
std::string BinDir();

}  // namespace brillora::testing
