#pragma once

#include <vector>

#include "model/design.h"
#include "optimize/design_variable.h"

namespace brillora {

// The design with the variables' values as a design file keeps them: the
// design is written as a file would hold it and read back, and the variables
// take the values read. Everything else stays as it was.
Design RoundedAsFilesKeep(const Design& design, const std::vector<DesignVariable>& variables);

}  // namespace brillora
