#include "cli/commands.h"

#include "model/default_design.h"
#include "params/materials.h"

namespace brillora::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"info", "print a design and its stone as JSON",
       "brillora-cli info [DESIGN | --default] [--diameter MM] [--material NAME | --sg G] "
       "[--facets]",
       RunInfo},
      {"trace", "trace a view of the stone and print its finished beams",
       "brillora-cli trace [DESIGN | --default] [--reflections TAG] [--reflected] [--no-surface] "
       "[--view crown|pavilion|RX,RY] [--light grey|redblue|zones] [--zones A1,A2,A3] "
       "[--ri X | --material NAME] [--width W --height H] [--json]",
       RunTrace},
  };
  return commands;
}

DesignReadResult LoadDesign(const std::optional<std::string>& file) {
  if (!file) {
    DesignReadResult result;
    result.design = DefaultDesign();
    result.refractiveIndex = FindMaterial(kDefaultMaterial)->refractiveIndex;
    return result;
  }
  DesignReadResult result = OpenDesignFile(*file);
  if (!result.ok()) throw CommandFailure{kExitUnreadable, result.error};
  return result;
}

}  // namespace brillora::cli
