#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
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

// A command's usage as its --help, its usage errors and the manual page show
// it: the synopsis broken before an option group where it would pass the
// 80th column, its continuation lines indented, then the command's notes.
std::string UsageText(std::string_view usage) {
  constexpr std::size_t kWidth = 79;
  const std::size_t end = std::min(usage.find('\n'), usage.size());
  const std::string_view synopsis = usage.substr(0, end);
  std::string text = "usage:";
  std::size_t column = text.size();
  std::size_t at = 0;
  while (at < synopsis.size()) {
    // The next piece runs to the next option group that opens outside brackets.
    std::size_t next = at + 1;
    int depth = synopsis[at] == '[' ? 1 : 0;
    while (next < synopsis.size() && !(depth == 0 && synopsis[next] == ' ' && next + 1 < synopsis.size() &&
                                       synopsis[next + 1] == '[')) {
      depth += synopsis[next] == '[' ? 1 : synopsis[next] == ']' ? -1 : 0;
      ++next;
    }
    const std::string_view piece = synopsis.substr(at, next - at);
    if (column + 1 + piece.size() > kWidth && column > 7) {
      text += "\n      ";
      column = 6;
    } else {
      text += ' ';
      ++column;
    }
    text += piece;
    column += piece.size();
    at = next + 1;
  }
  return text + std::string(usage.substr(end)) + '\n';
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
      out << UsageText(command.usage);
      return CheckedOutput(kExitOk, output, std::string(command.name));
    }
    Arguments args(std::span<const std::string>(words).subspan(1));
    try {
      return CheckedOutput(command.run(args, out), output, std::string(command.name));
    } catch (const UsageError& error) {
      std::cerr << "brillora-cli " << command.name << ": " << error.message << '\n' << UsageText(command.usage);
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
