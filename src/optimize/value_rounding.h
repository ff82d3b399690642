#pragma once

#include <vector>

#include "model/design.h"
#include "optimize/design_variable.h"

namespace brillora {

// The design with the variables' values rounded as a cutter reads them off a
// design file with two decimals: slopes to 0.01 degree, positions and the
// girdle's thickness to 0.001. The numbers are the nearest doubles to those
// decimals, so that a file keeps them as they are. A value that rounding
// would carry out of its range (one per variable) is rounded toward it
// instead. Everything else stays.
Design RoundedValues(const Design& design, const std::vector<DesignVariable>& variables,
                     const std::vector<ValueRange>& ranges);

}  // namespace brillora
