#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/standard_output.h"
#include "version/brillora_version.h"

namespace {

void PrintHelp(std::ostream& out) {
  out << "brillora-cli: design, measure and render faceted gemstones from the command line\n\n"
         "usage: brillora-cli COMMAND [OPTIONS]\n\n"
         "Commands:\n";
  for (const auto& command : brillora::cli::Commands()) {
    out << "  " << command.name << std::string(10 - std::min<std::size_t>(9, command.name.size()), ' ')
        << command.summary << '\n';
  }
  out << "\nRun 'brillora-cli COMMAND --help' for a command's options.\n";
}

// Output that could not be written is a failure like any other: a script
// must not take a cut-off result for a whole one.
int CheckedOutput(int status, brillora::cli::StandardOutput& output, const std::string& command) {
  const int reason = output.Finish();
  if (status != brillora::cli::kExitOk || reason == 0) return status;
  std::cerr << "brillora-cli" << (command.empty() ? "" : " " + command)
            << ": cannot write the standard output: " << std::strerror(reason) << '\n';
  return brillora::cli::kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace brillora::cli;
  const std::vector<std::string> words(argv + 1, argv + argc);
  StandardOutput output;
  std::ostream out(&output);
  if (words.empty()) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  if (words[0] == "--version") {
    out << brillora::VersionLine() << '\n';
    return CheckedOutput(kExitOk, output, "");
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(out);
    return CheckedOutput(kExitOk, output, "");
  }
  for (const auto& command : Commands()) {
    if (command.name != words[0]) continue;
    if (words.size() == 2 && (words[1] == "--help" || words[1] == "-h")) {
      out << "usage: " << command.usage << '\n';
      return CheckedOutput(kExitOk, output, std::string(command.name));
    }
    Arguments args(std::span<const std::string>(words).subspan(1));
    try {
      return CheckedOutput(command.run(args, out), output, std::string(command.name));
    } catch (const UsageError& error) {
      std::cerr << "brillora-cli " << command.name << ": " << error.message << "\nusage: "
                << command.usage << '\n';
      return kExitUsage;
    } catch (const CommandFailure& failure) {
      std::cerr << failure.message << '\n';
      return failure.status;
    }
  }
  std::cerr << "brillora-cli: unknown command '" << words[0] << "'\n\n";
  PrintHelp(std::cerr);
  return kExitUsage;
}
