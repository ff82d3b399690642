#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

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

}  // namespace

int main(int argc, char** argv) {
  using namespace brillora::cli;
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(std::cout);
    return kExitOk;
  }
  for (const auto& command : Commands()) {
    if (command.name != words[0]) continue;
    if (words.size() == 2 && (words[1] == "--help" || words[1] == "-h")) {
      std::cout << "usage: " << command.usage << '\n';
      return kExitOk;
    }
    Arguments args(std::span<const std::string>(words).subspan(1));
    try {
      return command.run(args, std::cout);
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
