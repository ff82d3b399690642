#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/arguments.h"
#include "io/design_file.h"
#include "model/step_editor.h"

namespace brillora::cli {

// Exit statuses every command shares.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitUnreadable = 3;
// A design that reads but cannot be used for the result (export of one that
// makes no stone): closest to an unreadable one, and told apart from a
// result that could not be written.
inline constexpr int kExitUnusable = 3;
inline constexpr int kExitFailed = 4;  // the work could not be done: too large, not writable

// Thrown when a command cannot go on: main prints the message on standard error
// and exits with the status.
struct CommandFailure {
  int status;
  std::string message;
};

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for --help
  std::string_view usage;
  std::function<int(Arguments&, std::ostream& out)> run;
};

const std::vector<Command>& Commands();

// The design named on the command line, or the default design when `file` is
// empty. An unreadable file throws CommandFailure with the reader's message.
DesignReadResult LoadDesign(const std::optional<std::string>& file);

// The design window's editor as the desktop starts it: with the design read
// from `file`, or with the default design when no file was named.
std::unique_ptr<StepEditor> StartEditor(const std::optional<std::string>& file,
                                        const DesignReadResult& read, EditorObserver& observer);

// The stone the desktop shows for the design: built as its editor installs it.
std::shared_ptr<const Stone> InstalledStone(const std::optional<std::string>& file,
                                            const DesignReadResult& read);

int RunInfo(Arguments& args, std::ostream& out);
int RunEdit(Arguments& args, std::ostream& out);
int RunTrace(Arguments& args, std::ostream& out);
int RunRender(Arguments& args, std::ostream& out);
int RunAnimate(Arguments& args, std::ostream& out);
int RunExport(Arguments& args, std::ostream& out);
int RunLightmap(Arguments& args, std::ostream& out);
int RunAnalyze(Arguments& args, std::ostream& out);
int RunSheet(Arguments& args, std::ostream& out);
int RunOptimize(Arguments& args, std::ostream& out);
int RunThumbnail(Arguments& args, std::ostream& out);

}  // namespace brillora::cli
