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
